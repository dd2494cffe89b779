// BrEffector: a material as a list of render passes; the rendering device's effector class holds the passes.
#pragma once

#include <cstdint>

#include "engine/presentation/BrRenderPass.h"
#include "templates/BrStringT.h"

// The base holds one device word (0 after construction and after Reset); the device class adds the passes.
class BrEffector {
public:
  BrEffector() : m_uiDevice(0) {}
  BrEffector(const BrEffector&) = default;
  BrEffector& operator=(const BrEffector&) = default;
  virtual ~BrEffector() {}

  // Clears the device word; the device class also drops its passes.
  virtual void Reset();
  // Appends a pass for the shader text; null when the pass cannot be made (a shader that failed).
  virtual BrRenderPass* AddPass(const BrStringT<char>& shader) = 0;
  // The pass at index; null when there is none.
  virtual BrRenderPass* GetPass(int index) = 0;
  // False in the base.
  virtual bool IsProgrammable();

  // Equal when the device words are equal.
  bool operator==(const BrEffector& o) const { return m_uiDevice == o.m_uiDevice; }

  // Objects are allocated through brMalloc/brFree, so the plug-in that made an effector and the engine agree.
  static void* operator new(size_t size);
  static void operator delete(void* p) noexcept;

protected:
  uint32_t m_uiDevice;
};
