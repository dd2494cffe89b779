// brMediaPath: where a media name (relative to the media folder) lies on disk.
#pragma once

#include "templates/BrStringT.h"

// The media folder + "\\" + name. A name that already begins with the media folder and a backslash (compared
// without regard to case, as Windows names are) is returned unchanged rather than prefixed a second time; so is
// every name while the media folder is empty.
BrStringT<char> brMediaPath(const BrStringT<char>& name);
// The same with the media folder given.
BrStringT<char> brMediaPath(const BrStringT<char>& mediaDir, const BrStringT<char>& name);
