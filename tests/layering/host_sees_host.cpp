// Control for the layering probe: the host layer's own header compiles where the layer is linked.
#include "host/Host.h"
