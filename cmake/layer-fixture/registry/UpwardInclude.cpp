// A file of the registry layer that includes from the security layer above it: the layering
// check must reject it.
#include "registry/RegistryKey.h"
#include "security/KeyPermissions.h"
