// BrSubSystem and BrWindowBase: the abstract bases of the engine's devices and window manager.
#include "core/BrSubSystem.h"

#include <climits>
#include <cstring>
#include <new>

#include "core/BrMemory.h"

BrSubSystem::BrSubSystem() : m_bExiting(false) { std::memset(m_szText, 0, sizeof(m_szText)); }

BrSubSystem::BrSubSystem(const BrSubSystem& other) : m_bExiting(other.m_bExiting) {
  std::memcpy(m_szText, other.m_szText, sizeof(m_szText));
}

BrSubSystem& BrSubSystem::operator=(const BrSubSystem& other) {
  m_bExiting = other.m_bExiting;
  std::memmove(m_szText, other.m_szText, sizeof(m_szText));
  return *this;
}

BrSubSystem::~BrSubSystem() {}

void* BrSubSystem::operator new(size_t size) {
  void* p = size <= UINT_MAX ? brMalloc(unsigned(size ? size : 1)) : nullptr;
  if (!p) throw std::bad_alloc();
  return p;
}

void BrSubSystem::operator delete(void* p) noexcept { brFree(p); }

BrWindowBase::BrWindowBase() : m_hWnd(nullptr), m_bFocus(false) {}

BrWindowBase::~BrWindowBase() {}

HWND BrWindowBase::GetHandle() const { return m_hWnd; }

void BrWindowBase::SetHandle(HWND hwnd) { m_hWnd = hwnd; }

void BrWindowBase::SetFocus(bool focus) { m_bFocus = focus; }

bool BrWindowBase::HasFocus() const { return m_bFocus; }
