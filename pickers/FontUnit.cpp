#include "pickers/FontUnit.h"
