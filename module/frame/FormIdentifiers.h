// Identifier constants of the forms that the Georgia module reads and writes.
//
// A form is named by its number together with its return: the Georgia forms
// and the shared state forms belong to the state return (flag true), the
// federal forms to the federal return (flag false). Numbers 2, 3, 71 and 75
// each name two different forms, one on either side (kStateForm2ID and
// kForm2ID are not equal).
//
// The constants are literal and inline: every source file reads the same
// object, and none of them needs code at load time.
#pragma once

#include <array>

#include "platform/Primitives.h"

// Georgia forms. Form 70 is the main Georgia return form, form 69 the
// Georgia information form.
inline constexpr Primitives::QVImmutableFormIdentifier kGAForm69ID{69, true};
inline constexpr Primitives::QVImmutableFormIdentifier kGAForm70ID{70, true};
inline constexpr Primitives::QVImmutableFormIdentifier kGAForm71ID{71, true};
inline constexpr Primitives::QVImmutableFormIdentifier kGAForm72ID{72, true};
inline constexpr Primitives::QVImmutableFormIdentifier kGAForm73ID{73, true};
inline constexpr Primitives::QVImmutableFormIdentifier kGAForm74ID{74, true};
inline constexpr Primitives::QVImmutableFormIdentifier kGAForm75ID{75, true};
inline constexpr Primitives::QVImmutableFormIdentifier kGAForm76ID{76, true};
inline constexpr Primitives::QVImmutableFormIdentifier kGAForm77ID{77, true};
inline constexpr Primitives::QVImmutableFormIdentifier kGAForm187981ID{187981, true};
inline constexpr Primitives::QVImmutableFormIdentifier kGAForm187982ID{187982, true};
inline constexpr Primitives::QVImmutableFormIdentifier kGAForm189215ID{189215, true};
inline constexpr Primitives::QVImmutableFormIdentifier kGAForm189216ID{189216, true};
inline constexpr Primitives::QVImmutableFormIdentifier kGAForm189217ID{189217, true};
inline constexpr Primitives::QVImmutableFormIdentifier kGAForm189218ID{189218, true};
inline constexpr Primitives::QVImmutableFormIdentifier kGAForm189219ID{189219, true};
inline constexpr Primitives::QVImmutableFormIdentifier kGAForm190054ID{190054, true};
inline constexpr Primitives::QVImmutableFormIdentifier kGAForm190055ID{190055, true};
inline constexpr Primitives::QVImmutableFormIdentifier kGAForm190056ID{190056, true};
inline constexpr Primitives::QVImmutableFormIdentifier kGAForm190057ID{190057, true};
inline constexpr Primitives::QVImmutableFormIdentifier kGAForm190058ID{190058, true};
inline constexpr Primitives::QVImmutableFormIdentifier kGAForm190059ID{190059, true};
inline constexpr Primitives::QVImmutableFormIdentifier kGAForm190060ID{190060, true};
inline constexpr Primitives::QVImmutableFormIdentifier kGAForm190061ID{190061, true};
inline constexpr Primitives::QVImmutableFormIdentifier kGAForm190062ID{190062, true};
inline constexpr Primitives::QVImmutableFormIdentifier kGAForm203638ID{203638, true};
inline constexpr Primitives::QVImmutableFormIdentifier kGAForm203639ID{203639, true};
inline constexpr Primitives::QVImmutableFormIdentifier kGAForm203811ID{203811, true};
inline constexpr Primitives::QVImmutableFormIdentifier kGAForm204111ID{204111, true};

// Shared state forms of the state return.
inline constexpr Primitives::QVImmutableFormIdentifier kStateForm2ID{2, true};
inline constexpr Primitives::QVImmutableFormIdentifier kStateForm3ID{3, true};
inline constexpr Primitives::QVImmutableFormIdentifier kStateForm4ID{4, true};
inline constexpr Primitives::QVImmutableFormIdentifier kStateForm14ID{14, true};
inline constexpr Primitives::QVImmutableFormIdentifier kStateForm15ID{15, true};
inline constexpr Primitives::QVImmutableFormIdentifier kStateForm32783ID{32783, true};

// Federal forms, read through the federal return.
inline constexpr Primitives::QVImmutableFormIdentifier kForm1ID{1, false};
inline constexpr Primitives::QVImmutableFormIdentifier kForm2ID{2, false};
inline constexpr Primitives::QVImmutableFormIdentifier kForm3ID{3, false};
inline constexpr Primitives::QVImmutableFormIdentifier kForm7ID{7, false};
inline constexpr Primitives::QVImmutableFormIdentifier kForm8ID{8, false};
inline constexpr Primitives::QVImmutableFormIdentifier kForm12ID{12, false};
inline constexpr Primitives::QVImmutableFormIdentifier kForm16ID{16, false};
inline constexpr Primitives::QVImmutableFormIdentifier kForm19ID{19, false};
inline constexpr Primitives::QVImmutableFormIdentifier kForm28ID{28, false};
inline constexpr Primitives::QVImmutableFormIdentifier kForm31ID{31, false};
inline constexpr Primitives::QVImmutableFormIdentifier kForm43ID{43, false};
inline constexpr Primitives::QVImmutableFormIdentifier kForm44ID{44, false};
inline constexpr Primitives::QVImmutableFormIdentifier kForm49ID{49, false};
inline constexpr Primitives::QVImmutableFormIdentifier kForm51ID{51, false};
inline constexpr Primitives::QVImmutableFormIdentifier kForm52ID{52, false};
inline constexpr Primitives::QVImmutableFormIdentifier kForm54ID{54, false};
inline constexpr Primitives::QVImmutableFormIdentifier kForm55ID{55, false};
inline constexpr Primitives::QVImmutableFormIdentifier kForm57ID{57, false};
inline constexpr Primitives::QVImmutableFormIdentifier kForm71ID{71, false};
inline constexpr Primitives::QVImmutableFormIdentifier kForm75ID{75, false};
inline constexpr Primitives::QVImmutableFormIdentifier kForm78ID{78, false};
inline constexpr Primitives::QVImmutableFormIdentifier kForm84ID{84, false};
inline constexpr Primitives::QVImmutableFormIdentifier kForm87ID{87, false};
inline constexpr Primitives::QVImmutableFormIdentifier kForm89ID{89, false};
inline constexpr Primitives::QVImmutableFormIdentifier kForm92ID{92, false};
inline constexpr Primitives::QVImmutableFormIdentifier kForm103ID{103, false};
inline constexpr Primitives::QVImmutableFormIdentifier kForm104ID{104, false};
inline constexpr Primitives::QVImmutableFormIdentifier kForm110ID{110, false};
inline constexpr Primitives::QVImmutableFormIdentifier kForm113ID{113, false};
inline constexpr Primitives::QVImmutableFormIdentifier kForm126ID{126, false};
inline constexpr Primitives::QVImmutableFormIdentifier kForm131ID{131, false};
inline constexpr Primitives::QVImmutableFormIdentifier kForm132ID{132, false};
inline constexpr Primitives::QVImmutableFormIdentifier kForm135ID{135, false};
inline constexpr Primitives::QVImmutableFormIdentifier kForm136ID{136, false};
inline constexpr Primitives::QVImmutableFormIdentifier kForm155ID{155, false};
inline constexpr Primitives::QVImmutableFormIdentifier kForm164ID{164, false};
inline constexpr Primitives::QVImmutableFormIdentifier kForm165ID{165, false};
inline constexpr Primitives::QVImmutableFormIdentifier kForm166ID{166, false};
inline constexpr Primitives::QVImmutableFormIdentifier kForm183ID{183, false};
inline constexpr Primitives::QVImmutableFormIdentifier kForm190ID{190, false};
inline constexpr Primitives::QVImmutableFormIdentifier kForm24328ID{24328, false};
inline constexpr Primitives::QVImmutableFormIdentifier kForm133618ID{133618, false};
inline constexpr Primitives::QVImmutableFormIdentifier kForm186662ID{186662, false};

// Every constant of each group, in definition order (for walks and checks).
inline constexpr std::array<Primitives::QVImmutableFormIdentifier, 29> GAFormIdentifiers{
    kGAForm69ID,     kGAForm70ID,     kGAForm71ID,     kGAForm72ID,     kGAForm73ID,     kGAForm74ID,
    kGAForm75ID,     kGAForm76ID,     kGAForm77ID,     kGAForm187981ID, kGAForm187982ID, kGAForm189215ID,
    kGAForm189216ID, kGAForm189217ID, kGAForm189218ID, kGAForm189219ID, kGAForm190054ID, kGAForm190055ID,
    kGAForm190056ID, kGAForm190057ID, kGAForm190058ID, kGAForm190059ID, kGAForm190060ID, kGAForm190061ID,
    kGAForm190062ID, kGAForm203638ID, kGAForm203639ID, kGAForm203811ID, kGAForm204111ID,
};
inline constexpr std::array<Primitives::QVImmutableFormIdentifier, 6> StateFormIdentifiers{
    kStateForm2ID, kStateForm3ID, kStateForm4ID, kStateForm14ID, kStateForm15ID, kStateForm32783ID,
};
inline constexpr std::array<Primitives::QVImmutableFormIdentifier, 43> FederalFormIdentifiers{
    kForm1ID,   kForm2ID,   kForm3ID,   kForm7ID,   kForm8ID,     kForm12ID,     kForm16ID,     kForm19ID,  kForm28ID,
    kForm31ID,  kForm43ID,  kForm44ID,  kForm49ID,  kForm51ID,    kForm52ID,     kForm54ID,     kForm55ID,  kForm57ID,
    kForm71ID,  kForm75ID,  kForm78ID,  kForm84ID,  kForm87ID,    kForm89ID,     kForm92ID,     kForm103ID, kForm104ID,
    kForm110ID, kForm113ID, kForm126ID, kForm131ID, kForm132ID,   kForm135ID,    kForm136ID,    kForm155ID, kForm164ID,
    kForm165ID, kForm166ID, kForm183ID, kForm190ID, kForm24328ID, kForm133618ID, kForm186662ID,
};
