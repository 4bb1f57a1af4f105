#include "pickers/ColorUnit.h"
