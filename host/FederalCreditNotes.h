// A note for the person preparing a return where a federal credit that the
// Georgia return takes a share of is given above the most it can be: the
// federal credit for child and dependent care expenses, of which IND-CR 202
// (form 190055) takes 30 %.
#pragma once

#include <optional>
#include <string>

#include "host/HostSession.h"

namespace GAHost {

std::optional<std::string> careCreditNote(HostSession& session);

}  // namespace GAHost
