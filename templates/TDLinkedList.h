// TDLinkedList: the doubly linked list of every library (children ids, hash-table buckets, module lists).
#pragma once

#include "templates/BrTemplateSupport.h"

// One node of a TDLinkedList: the element and both links. A new node holds a value-initialised (for plain
// records zero-filled) element and null links.
template <class T>
class TDLinkedListNode {
public:
  TDLinkedListNode() : element(), next(nullptr), prev(nullptr) {}
  virtual ~TDLinkedListNode() {}

  // Nodes live on the heap of the core library, so they may be freed by any library.
  static void* operator new(size_t bytes);
  static void operator delete(void* p);

  T element;
  TDLinkedListNode* next;  // the following node, null at the tail
  TDLinkedListNode* prev;  // the preceding node, null at the head
};

// A doubly linked list that owns its nodes. Callers walk it from GetHead() along next.
template <class T>
class TDLinkedList {
public:
  typedef TDLinkedListNode<T> Node;

  // The empty list.
  TDLinkedList() : head(nullptr), tail(nullptr), count(0) {}
  // Own nodes holding copies of the source's elements, in the source's order.
  TDLinkedList(const TDLinkedList& other);
  // Clears, then copies as the copy constructor; assigning a list to itself leaves it unchanged.
  TDLinkedList& operator=(const TDLinkedList& other);
  // Deletes every node.
  virtual ~TDLinkedList();

  // Appends a copy of element at the tail. A node that cannot be allocated logs and ends the process.
  void Append(const T& element);
  // Unlinks and deletes node; null does nothing, and a node of another list is refused with a warning line.
  void Remove(Node* node);
  // Removes the first node, from the head, whose element equals value; no match does nothing.
  void RemoveValue(const T& value);
  // True when some node's element equals value.
  bool Contains(const T& value) const;
  // Removes every node.
  void Clear();

  // The element of the i-th node from the head. An index outside 0 .. count-1 logs
  // "WARNING: Accessed TDLinkedList out of bounds %i/%i" and yields a spare value-initialised element that
  // belongs to no node, so no link is followed past the list and nothing of it is overwritten.
  T& operator[](int i);

  // First node, null when empty.
  Node* GetHead() const { return head; }
  // Last node, null when empty.
  Node* GetTail() const { return tail; }
  // Number of nodes.
  int32_t GetCount() const { return count; }

  // Archive form: count as int32, then the elements from head to tail. Loading clears the list first and
  // checks the count against the archive's bytes left; a bad count, or a read that falls short, fails the
  // archive and leaves the list empty.
  void Serialize(BrBin& ar);

protected:
  Node* head;
  Node* tail;
  int32_t count;
};

// ---------------------------------------------------------------------------------------------------------

template <class T>
void* TDLinkedListNode<T>::operator new(size_t bytes) {
  void* p = bytes <= 0xFFFFFFFFu ? brMalloc(static_cast<unsigned int>(bytes)) : nullptr;
  if (!p) {
    brTplLog<T>().printf("WARNING: Failed to allocate %i bytes for new node in doubly linked list", int(bytes));
    brTplFatal();
  }
  return p;
}

template <class T>
void TDLinkedListNode<T>::operator delete(void* p) {
  if (p) brFree(p);
}

template <class T>
TDLinkedList<T>::TDLinkedList(const TDLinkedList& other) : head(nullptr), tail(nullptr), count(0) {
  for (Node* n = other.head; n; n = n->next) Append(n->element);
}

template <class T>
TDLinkedList<T>& TDLinkedList<T>::operator=(const TDLinkedList& other) {
  if (this == &other) return *this;
  Clear();
  for (Node* n = other.head; n; n = n->next) Append(n->element);
  return *this;
}

template <class T>
TDLinkedList<T>::~TDLinkedList() {
  Clear();
}

template <class T>
void TDLinkedList<T>::Append(const T& element) {
  // Copied before linking, so the element may be one already held by this list.
  Node* node = new Node();
  node->element = element;
  if (head) {
    tail->next = node;
    node->prev = tail;
    tail = node;
  } else {
    head = node;
    tail = node;
  }
  ++count;
}

template <class T>
void TDLinkedList<T>::Remove(Node* node) {
  if (!node) return;
  // A node of another list would be unlinked from that list while this one's count and ends went wrong: the
  // node is found by walking back to its head, which must be this list's.
  const Node* first = node;
  while (first->prev) first = first->prev;
  if (first != head) {
    brTplLog<T>().printf("WARNING: TDLinkedList::Remove(..) refused a node that is not in this list");
    return;
  }
  if (node->prev && node->next) {
    node->prev->next = node->next;
    node->next->prev = node->prev;
  } else if (node->prev) {
    tail = node->prev;
    tail->next = nullptr;
  } else {
    head = node->next;
    if (head)
      head->prev = nullptr;
    else
      tail = nullptr;
  }
  delete node;
  --count;
}

template <class T>
void TDLinkedList<T>::RemoveValue(const T& value) {
  for (Node* n = head; n; n = n->next) {
    if (n->element == value) {
      Remove(n);
      return;
    }
  }
}

template <class T>
bool TDLinkedList<T>::Contains(const T& value) const {
  for (Node* n = head; n; n = n->next)
    if (n->element == value) return true;
  return false;
}

template <class T>
void TDLinkedList<T>::Clear() {
  while (head) Remove(head);
  count = 0;
}

template <class T>
T& TDLinkedList<T>::operator[](int i) {
  if (i < 0 || i >= count || !head) {
    brTplLog<T>().printf("WARNING: Accessed TDLinkedList out of bounds %i/%i", i, int(count));
    // One spare for the whole run, emptied in place on each use: a reference handed out earlier still points at
    // live memory. It is never destroyed, since an element's destructor could reach systems already gone at exit.
    static Node* spare = nullptr;
    if (!spare) {
      spare = new Node();
    } else {
      spare->element.~T();
      new (&spare->element) T();
    }
    return spare->element;
  }
  Node* n = head;
  for (int k = 0; k < i && n->next; ++k) n = n->next;
  return n->element;
}

template <class T>
void TDLinkedList<T>::Serialize(BrBin& ar) {
  auto& a = brTplDepend<T>(ar);
  if (!brTplLoading<T>(ar)) {
    int32_t n = count;
    a << n;
    for (Node* node = head; node; node = node->next) brStreamElement(ar, node->element);
    return;
  }

  Clear();
  int32_t n = 0;
  a << n;
  if (!brTplCountFits<T>(ar, n)) return;
  for (int32_t i = 0; i < n && !brTplFailed<T>(ar); ++i) {
    Append(T());
    brStreamElement(ar, tail->element);
  }
  if (brTplFailed<T>(ar)) Clear();
}
