// Tarvoke: the one header a game includes to reach every engine command.
#pragma once
#include "tarvoke/version.h"   // written by the build: the engine's version
#include "tarvoke/scalars.h"
#include "tarvoke/StrValue.h"
#include "tarvoke/core.h"
#include "tarvoke/files.h"
#include "tarvoke/system.h"
#include "tarvoke/graphics2d.h"
#include "tarvoke/arrays.h"
#include "tarvoke/graphics3d.h"
#include "tarvoke/sound.h"
#include "tarvoke/input.h"
#include "tarvoke/builtins.h"
#include "tarvoke/pathfind.h"
#include "tarvoke/net.h"
