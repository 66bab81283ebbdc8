// The module's build number: the last component of its version
// "2018.2.0.5901". The Georgia e-file writer reports it as a number in the
// return-header record. Each including source file builds its own copy.
#pragma once

#include <string>

namespace {

const std::string BuildNumberString = "5901";

}  // namespace
