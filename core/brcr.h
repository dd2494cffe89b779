// The public face of the core library brcr: include this, or the single headers it lists.
#pragma once

#include "core/BrMemory.h"
#include "core/BrGlobals.h"
#include "core/BrNumeric.h"
#include "core/BrTime.h"
#include "core/BrSystem.h"
#include "core/BrFileDevice.h"
#include "core/BrAnsiFile.h"
#include "core/BrLogFile.h"
#include "core/BrBin.h"
#include "core/BrFileReader.h"
#include "core/BrObject.h"
#include "core/BrSubSystem.h"
