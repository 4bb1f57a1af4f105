#include "panel/LayerUnit.h"
