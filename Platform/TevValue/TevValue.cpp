#include "TevValue/TevValue.h"
