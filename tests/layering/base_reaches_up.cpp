// Deliberately ill-layered: the base layer may not see the host interface. This file exists to
// prove that the build refuses it; it is never part of a normal build.
#include "host/Host.h"
