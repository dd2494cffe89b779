// brMediaPath: where a media name (relative to the media folder) lies on disk.
#pragma once

#include "templates/BrStringT.h"

// The media folder + "\\" + name. A name that already begins with the media folder and a backslash (compared
// without regard to case, as Windows names are) is returned unchanged rather than prefixed a second time; so is
// every name while the media folder is empty. Under another media folder (a mod's), a name beginning with the
// game's own folder "Media" and a separator (as the configuration names the default font) means the rest of the
// name in that folder.
BrStringT<char> brMediaPath(const BrStringT<char>& name);
// The same with the media folder given.
BrStringT<char> brMediaPath(const BrStringT<char>& mediaDir, const BrStringT<char>& name);
