// BrOpenALBuffer: one OpenAL buffer of sample data with the count of sounds that use it.
#pragma once

// A value type: copying it copies the count and the name; only SetName deletes an OpenAL buffer.
class BrOpenALBuffer {
public:
  // Count 0, no buffer.
  BrOpenALBuffer() : m_uiRefCount(0), m_uiName(0) {}
  // Count 0 and the given OpenAL buffer name.
  explicit BrOpenALBuffer(unsigned int name) : m_uiRefCount(0), m_uiName(name) {}

  // The OpenAL buffer name; 0 when the slot is free.
  unsigned int GetName() const { return m_uiName; }
  // Takes name; the buffer held so far, when it is a valid OpenAL buffer, is deleted first.
  void SetName(unsigned int name);
  // One more sound uses the buffer.
  void IncRefCount() { ++m_uiRefCount; }
  unsigned int GetRefCount() const { return m_uiRefCount; }
  // One sound fewer: decrements the count unless it is already 0; returns the new count.
  unsigned int Release();

private:
  unsigned int m_uiRefCount;
  unsigned int m_uiName;
};
