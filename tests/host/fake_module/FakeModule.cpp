// A library that looks like a Georgia module to the host's loader: it exports
// compatVersion only, answering the version it is built with.
extern "C" __attribute__((visibility("default"))) short compatVersion() { return FAKE_COMPAT_VERSION; }
