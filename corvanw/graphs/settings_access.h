#pragma once
// The graph settings use the program's one settings interface.

#include "data/settings_access.h"
