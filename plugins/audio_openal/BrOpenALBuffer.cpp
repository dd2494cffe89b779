// BrOpenALBuffer: the reference count and name of one OpenAL buffer.
#include "plugins/audio_openal/BrOpenALBuffer.h"

#include "plugins/audio_openal/OpenALApi.h"

void BrOpenALBuffer::SetName(unsigned int name) {
  if (m_uiName != 0 && m_uiName != name && alIsBuffer(m_uiName)) alDeleteBuffers(1, &m_uiName);
  m_uiName = name;
}

unsigned int BrOpenALBuffer::Release() {
  if (m_uiRefCount > 0) --m_uiRefCount;
  return m_uiRefCount;
}
