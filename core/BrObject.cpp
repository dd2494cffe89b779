// BrObject and dtiClass: the root object and the type records compared by name.
#include "core/BrObject.h"

#include <climits>
#include <cstring>
#include <new>

#include "core/BrBin.h"
#include "core/BrMemory.h"

// ---- dtiClass ----

dtiClass::dtiClass() : m_szName(nullptr), m_pParent(nullptr) {}

dtiClass::dtiClass(const char* name, dtiClass* parent) : m_szName(nullptr), m_pParent(parent) { SetName(name); }

dtiClass::dtiClass(const dtiClass& other) : m_szName(other.m_szName), m_pParent(other.m_pParent) {}

dtiClass& dtiClass::operator=(const dtiClass& other) {
  m_szName = other.m_szName;
  m_pParent = other.m_pParent;
  return *this;
}

dtiClass::~dtiClass() {}

const char* dtiClass::GetName() const { return m_szName; }

bool dtiClass::SetName(const char* name) {
  if (!name) return false;
  m_szName = name;
  return true;
}

dtiClass* dtiClass::GetParent() const { return m_pParent; }

void dtiClass::SetParent(dtiClass* parent) { m_pParent = parent; }

bool dtiClass::IsEqualTo(const dtiClass* other) const {
  // Names, not addresses: a class's record seen from two libraries is two objects with one name.
  if (!other || !m_szName) return false;
  const char* name = other->GetName();
  if (!name) return false;
  return name == m_szName || std::strcmp(m_szName, name) == 0;
}

bool dtiClass::IsAExactly(const dtiClass* other) const { return IsEqualTo(other); }

bool dtiClass::IsA(const dtiClass* other) const {
  // A chain longer than any real class tree can only be a cycle made by a bad SetParent.
  int guard = 0;
  for (const dtiClass* record = this; record && guard < 4096; record = record->GetParent(), ++guard) {
    if (record->IsEqualTo(other)) return true;
  }
  return false;
}

// ---- BrObject ----

dtiClass BrObject::Type("BrObject", nullptr);

BrObject::BrObject() : m_iTag(0), m_bDestroyed(false), m_Name("Unknown") {}

BrObject::BrObject(const BrObject& other)
    : m_iTag(other.m_iTag), m_bDestroyed(other.m_bDestroyed), m_Name(other.m_Name) {}

BrObject& BrObject::operator=(const BrObject& other) {
  m_iTag = other.m_iTag;
  m_bDestroyed = other.m_bDestroyed;
  m_Name = other.m_Name;
  return *this;
}

BrObject::~BrObject() { BrObject::Destroy(); }

void BrObject::Serialize(BrBin& bin) {
  bin.Stream(&m_iTag, 4, 1);
  // The flag goes through a byte: a file may hold any value there, and only 0 and 1 are bools.
  uint8_t destroyed = m_bDestroyed ? 1 : 0;
  bin.Stream(&destroyed, 1, 1);
  if (bin.IsLoading()) m_bDestroyed = destroyed != 0;
  m_Name.Serialize(bin);
}

void* BrObject::SafeCast(dtiClass* t) { return BrObject::Type.IsA(t) ? static_cast<void*>(this) : nullptr; }

bool BrObject::Init() { return true; }

void BrObject::Step(float) {}

void BrObject::Destroy() { m_bDestroyed = true; }

bool BrObject::IsValid() const { return !m_bDestroyed; }

bool BrObject::IsA(dtiClass t) const { return BrObject::Type.IsA(&t); }

bool BrObject::IsAExactly(dtiClass t) const { return BrObject::Type.IsAExactly(&t); }

void BrObject::SetName(const BrStringT<char>& name) { m_Name = name; }

const char* BrObject::GetName() const { return m_Name.c_str(); }

namespace {

void* AllocateObject(size_t size) {
  void* p = size <= UINT_MAX ? brMalloc(unsigned(size ? size : 1)) : nullptr;
  if (!p) throw std::bad_alloc();
  return p;
}

}  // namespace

void* BrObject::operator new(size_t size) { return AllocateObject(size); }

void* BrObject::operator new[](size_t size) { return AllocateObject(size); }

void BrObject::operator delete(void* p) noexcept { brFree(p); }

void BrObject::operator delete[](void* p) noexcept { brFree(p); }
