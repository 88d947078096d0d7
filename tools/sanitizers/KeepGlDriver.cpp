// Sanitizer builds only: keeps Mesa's software GL driver, the only one under Xvfb, loaded until exit.
// The driver keeps shader variants in blocks that only its own globals point to, and is unloaded
// when the window's display closes; the leak checker, which runs at exit, would then find those
// blocks unreferenced, under a stack it can no longer name. Held here, the driver stays mapped,
// its globals are scanned like any others, and nothing of it is reported.

#include <dlfcn.h>

// Referenced by the linker (--undefined) so that this file is linked in at all.
extern "C" void glimmoraKeepGlDriver() {}

namespace
{
// The path the GL library opens, so both name one and the same loaded object.
const bool glDriverKept = dlopen(GLIMMORA_GL_DRIVER, RTLD_LAZY | RTLD_NODELETE) != nullptr;
} // namespace
