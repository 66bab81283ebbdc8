// State form 14's lines by what they hold: the answers shared by every state
// return. The state calculation keeps the program-updates question answered
// and writes the return's enabled type, the information form's calculation
// writes the host's version, the Georgia return sets the updates boxes, and
// the cross-state interview topics read whether the sections are done. The
// fields that hold the topics' statuses stand in TopicStatusLines.h.
#pragma once

#include "module/catalogues/StateForm14FieldIds.h"
#include "platform/Primitives.h"

struct StateForm14Lines {
    using Line = const Primitives::QVImmutableIdentifier&;

    // Whether program updates are wanted: a yes and no pair (no marked by
    // default), and a third box that the Georgia return sets with them.
    Line updatesYes, updatesNo, updatesThird;
    Line sectionsDone;  // box: the credit and payment sections are done
    Line enabledType;   // the return's enabled type, as a number
    Line version;       // the host's version text
};

inline constexpr StateForm14Lines kStateForm14Lines = [] {
    const auto& s14 = kStateForm14FieldIds;
    return StateForm14Lines{
        .updatesYes = s14.f9015,
        .updatesNo = s14.f9016,
        .updatesThird = s14.f14454,
        .sectionsDone = s14.f32585,
        .enabledType = s14.f23,
        .version = s14.f143855,
    };
}();
