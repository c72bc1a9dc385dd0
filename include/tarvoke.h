// Tarvoke: the one header a game includes to reach every engine command.
#pragma once
#include "tarvoke/scalars.h"
#include "tarvoke/StrValue.h"
#include "tarvoke/core.h"
#include "tarvoke/files.h"
#include "tarvoke/graphics2d.h"
#include "tarvoke/arrays.h"
#include "tarvoke/graphics3d.h"
#include "tarvoke/builtins.h"
#include "tarvoke/net.h"
