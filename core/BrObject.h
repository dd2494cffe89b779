// BrObject and dtiClass: the root of engine objects and the run-time type record behind SafeCast, IsA and IsAExactly.
#pragma once

#include <cstddef>
#include <cstdint>

#include "templates/BrStringT.h"

class BrBin;

// A class's type record: its name and its parent's record. Identity is by name, so the same class's records seen
// from two libraries match. The record points at static text and never copies or frees it.
class dtiClass {
public:
  // No name, no parent.
  dtiClass();
  // Stores the parent, then SetName(name).
  dtiClass(const char* name, dtiClass* parent);
  // Copies the two pointers.
  dtiClass(const dtiClass& other);
  dtiClass& operator=(const dtiClass& other);
  virtual ~dtiClass();

  // The class name (null for a record without one).
  virtual const char* GetName() const;
  // Stores name; a null name is refused (false) and the old one kept.
  virtual bool SetName(const char* name);
  // The parent's record, null at a root.
  virtual dtiClass* GetParent() const;
  virtual void SetParent(dtiClass* parent);
  // True when this record or one of its ancestors has other's name.
  virtual bool IsA(const dtiClass* other) const;
  // True when this record has other's name.
  virtual bool IsAExactly(const dtiClass* other) const;
  // True when both records have names and they are equal byte for byte.
  bool IsEqualTo(const dtiClass* other) const;

private:
  const char* m_szName;
  dtiClass* m_pParent;
};

// Declares a class's type record and its SafeCast, IsA and IsAExactly; BR_IMPLEMENT_TYPE in one .cpp defines them.
#define BR_DECLARE_TYPE(Class)          \
public:                                 \
  static dtiClass Type;                 \
  void* SafeCast(dtiClass* t) override; \
  bool IsA(dtiClass t) const override;  \
  bool IsAExactly(dtiClass t) const override;

// Defines the record named after Class with Parent's record as its parent, and the three type operations.
#define BR_IMPLEMENT_TYPE(Class, Parent)                                                                 \
  dtiClass Class::Type(#Class, &Parent::Type);                                                           \
  void* Class::SafeCast(dtiClass* t) { return Class::Type.IsA(t) ? static_cast<void*>(this) : nullptr; } \
  bool Class::IsA(dtiClass t) const { return Class::Type.IsA(&t); }                                      \
  bool Class::IsAExactly(dtiClass t) const { return Class::Type.IsAExactly(&t); }

// The root of engine objects: a name, a destroyed flag and an integer streamed with the object.
// Objects are allocated through brMalloc and freed through brFree, so one library may delete what another made.
class BrObject {
public:
  // The record named "BrObject", with no parent.
  static dtiClass Type;

  // Integer 0, not destroyed, named "Unknown".
  BrObject();
  // Copies the integer, the flag and the name.
  BrObject(const BrObject& other);
  BrObject& operator=(const BrObject& other);
  // Runs BrObject's own Destroy (not an override), then releases the name.
  virtual ~BrObject();

  // Streams the integer (4 bytes), the destroyed flag (1 byte) and the name, in that order.
  virtual void Serialize(BrBin& bin);
  // This object when its class is t or derives from it, else null. Every class overrides it with its own record.
  virtual void* SafeCast(dtiClass* t);
  // Returns true.
  virtual bool Init();
  // Does nothing.
  virtual void Step(float dt);
  // Marks the object destroyed.
  virtual void Destroy();
  // True until Destroy.
  virtual bool IsValid() const;
  // True when the object's class or one of its parents has t's name.
  virtual bool IsA(dtiClass t) const;
  // True for the object's own class alone.
  virtual bool IsAExactly(dtiClass t) const;

  // Assigns the name.
  void SetName(const BrStringT<char>& name);
  // The name's characters; null for an empty name.
  const char* GetName() const;

  // Every object's memory goes through brMalloc/brFree; a failed allocation throws std::bad_alloc like new.
  static void* operator new(size_t size);
  static void* operator new[](size_t size);
  static void operator delete(void* p) noexcept;
  static void operator delete[](void* p) noexcept;

protected:
  int32_t m_iTag;
  bool m_bDestroyed;
  BrStringT<char> m_Name;
};
