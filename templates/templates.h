// Public face of the string and container templates: the string, the arrays, the list, the hash table and
// the archive stream operators with the clamp functions.
#pragma once

#include "templates/BrStringT.h"
#include "templates/TDArray.h"
#include "templates/TSArray.h"
#include "templates/TDLinkedList.h"
#include "templates/THashTable.h"
#include "templates/BrArchiveOps.h"
