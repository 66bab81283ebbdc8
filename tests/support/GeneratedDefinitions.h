// The form definitions that the build generates, loaded once per test
// program, for the fixtures that open returns over them.
#pragma once

#include "platform/definitions/FormDefinitions.h"

namespace testsupport {

inline const FormDefinitions::Library& definitions() {
    static const FormDefinitions::Library lib = FormDefinitions::loadDirectory(FormDefinitions::defaultDirectory());
    return lib;
}

}  // namespace testsupport
