// Identifier constants of the interview topics: the Georgia topics
// (locality 13) and the topics shared across states (locality 2). A topic is
// named by its number and its locality, so kGATopicID_gainfo and
// kXSTopicID_Credits, both number 18, are different topics. Each constant is
// named after the topic's key.
#pragma once

#include <array>

#include "platform/Primitives.h"

// Georgia topics.
inline constexpr Primitives::QVImmutableTopicIdentifier kGATopicID_gainfo{18, Primitives::kLocalityGeorgia};
inline constexpr Primitives::QVImmutableTopicIdentifier kGATopicID_gastcr{22, Primitives::kLocalityGeorgia};
inline constexpr Primitives::QVImmutableTopicIdentifier kGATopicID_sched2{24, Primitives::kLocalityGeorgia};
inline constexpr Primitives::QVImmutableTopicIdentifier kGATopicID_lowinctc{25, Primitives::kLocalityGeorgia};
inline constexpr Primitives::QVImmutableTopicIdentifier kGATopicID_gaunder{28, Primitives::kLocalityGeorgia};
inline constexpr Primitives::QVImmutableTopicIdentifier kGATopicID_gaest{29, Primitives::kLocalityGeorgia};
inline constexpr Primitives::QVImmutableTopicIdentifier kGATopicID_extoftim{30, Primitives::kLocalityGeorgia};
inline constexpr Primitives::QVImmutableTopicIdentifier kGATopicID_gaincome{38, Primitives::kLocalityGeorgia};
inline constexpr Primitives::QVImmutableTopicIdentifier kGATopicID_gaadd{39, Primitives::kLocalityGeorgia};
inline constexpr Primitives::QVImmutableTopicIdentifier kGATopicID_gasub{40, Primitives::kLocalityGeorgia};
inline constexpr Primitives::QVImmutableTopicIdentifier kGATopicID_gaincsum{41, Primitives::kLocalityGeorgia};
inline constexpr Primitives::QVImmutableTopicIdentifier kGATopicID_gadeduct{42, Primitives::kLocalityGeorgia};
inline constexpr Primitives::QVImmutableTopicIdentifier kGATopicID_gacredsum{43, Primitives::kLocalityGeorgia};
inline constexpr Primitives::QVImmutableTopicIdentifier kGATopicID_gaextpay{44, Primitives::kLocalityGeorgia};
inline constexpr Primitives::QVImmutableTopicIdentifier kGATopicID_gapaypensum{45, Primitives::kLocalityGeorgia};
inline constexpr Primitives::QVImmutableTopicIdentifier kGATopicID_gamisc{46, Primitives::kLocalityGeorgia};
inline constexpr Primitives::QVImmutableTopicIdentifier kGATopicID_garefapp{47, Primitives::kLocalityGeorgia};
inline constexpr Primitives::QVImmutableTopicIdentifier kGATopicID_gacontrib{48, Primitives::kLocalityGeorgia};
inline constexpr Primitives::QVImmutableTopicIdentifier kGATopicID_gaamend{49, Primitives::kLocalityGeorgia};
inline constexpr Primitives::QVImmutableTopicIdentifier kGATopicID_gaincsection{33442, Primitives::kLocalityGeorgia};
inline constexpr Primitives::QVImmutableTopicIdentifier kGATopicID_gags{35459, Primitives::kLocalityGeorgia};
inline constexpr Primitives::QVImmutableTopicIdentifier kGATopicID_GASecondaryNavs{44085, Primitives::kLocalityGeorgia};
inline constexpr Primitives::QVImmutableTopicIdentifier kGATopicID_miscbus{203810, Primitives::kLocalityGeorgia};

// Cross-state topics.
inline constexpr Primitives::QVImmutableTopicIdentifier kXSTopicID_Endgrp{5, Primitives::kLocalityCrossState};
inline constexpr Primitives::QVImmutableTopicIdentifier kXSTopicID_Credits{18, Primitives::kLocalityCrossState};
inline constexpr Primitives::QVImmutableTopicIdentifier kXSTopicID_TaxPayPen{20, Primitives::kLocalityCrossState};
inline constexpr Primitives::QVImmutableTopicIdentifier kXSTopicID_UpdateState{23, Primitives::kLocalityCrossState};

// Every constant of each group, in definition order (for walks and checks).
inline constexpr std::array<Primitives::QVImmutableTopicIdentifier, 23> GATopicIdentifiers{
    kGATopicID_gainfo,   kGATopicID_gastcr,          kGATopicID_sched2,    kGATopicID_lowinctc, kGATopicID_gaunder,
    kGATopicID_gaest,    kGATopicID_extoftim,        kGATopicID_gaincome,  kGATopicID_gaadd,    kGATopicID_gasub,
    kGATopicID_gaincsum, kGATopicID_gadeduct,        kGATopicID_gacredsum, kGATopicID_gaextpay, kGATopicID_gapaypensum,
    kGATopicID_gamisc,   kGATopicID_garefapp,        kGATopicID_gacontrib, kGATopicID_gaamend,  kGATopicID_gaincsection,
    kGATopicID_gags,     kGATopicID_GASecondaryNavs, kGATopicID_miscbus,
};
inline constexpr std::array<Primitives::QVImmutableTopicIdentifier, 4> XSTopicIdentifiers{
    kXSTopicID_Endgrp,
    kXSTopicID_Credits,
    kXSTopicID_TaxPayPen,
    kXSTopicID_UpdateState,
};
