// Names of the host session properties that the interview reads: whether a
// data import is under way and the state of the last-year carry-over. Each
// including source file builds its own copy at load.
#pragma once

#include <string>

namespace {

const std::string kUiPropImportStatus = "ui_prop_import_status";
const std::string kUiPropLlyStatus = "ui_prop_lly_status";

}  // namespace
