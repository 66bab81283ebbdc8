// The fixed row of every interview topic class: identifier, key, title, the
// host's flags, the status form and field, and the status the host starts
// from. Keys and titles live as long as the module is loaded; the titles of
// Credits, TaxPayPen and Endgrp are replaced from the return when the topic
// is built.
#pragma once

#include "module/catalogues/GAForm189219FieldIds.h"
#include "module/catalogues/GAForm203811FieldIds.h"
#include "module/catalogues/GAForm69FieldIds.h"
#include "module/catalogues/GAForm70FieldIds.h"
#include "module/catalogues/GAForm71FieldIds.h"
#include "module/catalogues/GAForm73FieldIds.h"
#include "module/catalogues/GAForm75FieldIds.h"
#include "module/catalogues/StateForm14FieldIds.h"
#include "module/frame/FormIdentifiers.h"
#include "module/frame/TopicIdentifiers.h"
#include "module/interview/StateTopicDesc.h"

namespace InterviewRows {

using StateTopicMgmt::TopicArguments;

// Topics without a status form of their own.
inline constexpr Primitives::QVImmutableFormIdentifier kNoForm{0};
inline constexpr Primitives::QVImmutableIdentifier kNoField{0};
// The statuses the rows start from.
inline constexpr TopicMgmt::TopicStatus kStatus0 = TopicMgmt::kTopicStatusNeeded;
inline constexpr TopicMgmt::TopicStatus kStatus1 = TopicMgmt::kTopicStatusPartial;

inline constexpr const StateForm14FieldIds& f14 = kStateForm14FieldIds;
inline constexpr const GAForm69FieldIds& f69 = kGAForm69FieldIds;
inline constexpr const GAForm70FieldIds& f70 = kGAForm70FieldIds;
inline constexpr const GAForm71FieldIds& f71 = kGAForm71FieldIds;
inline constexpr const GAForm73FieldIds& f73 = kGAForm73FieldIds;
inline constexpr const GAForm75FieldIds& f75 = kGAForm75FieldIds;
inline constexpr const GAForm189219FieldIds& f189219 = kGAForm189219FieldIds;
inline constexpr const GAForm203811FieldIds& f203811 = kGAForm203811FieldIds;

// The field that holds each topic's status, by the topic's key: on state
// form 14 for the cross-state topics and gags, else on the form the topic
// asks about; miscbus has a second one on the information form.
struct TopicStatusFields {
    using Line = const Primitives::QVImmutableIdentifier&;
    Line credits, endgrp, taxPayPen, updateState;  // the cross-state topics
    Line extoftim, gaadd, gaamend, gacontrib, gacredsum, gadeduct, gaest, gaextpay, gags, gaincome, gaincsection,
        gaincsum, gainfo, gamisc, gapaypensum, garefapp, gastcr, gasub, gaunder, lowinctc, miscbus, sched2;
    Line miscbusOnInfoForm;
};
inline constexpr TopicStatusFields kStatusFields = {
    .credits = f14.f39,
    .endgrp = f14.f19,
    .taxPayPen = f14.f40,
    .updateState = f14.f9012,
    .extoftim = f69.f18,
    .gaadd = f70.f260,
    .gaamend = f189219.f189557,
    .gacontrib = f70.f265,
    .gacredsum = f70.f264,
    .gadeduct = f70.f263,
    .gaest = f75.f1,
    .gaextpay = f69.f89,
    .gags = f14.f18,
    .gaincome = f69.f86,
    .gaincsection = f70.f33440,
    .gaincsum = f70.f262,
    .gainfo = f69.f3,
    .gamisc = f69.f90,
    .gapaypensum = f69.f87,
    .garefapp = f69.f88,
    .gastcr = f73.f1,
    .gasub = f70.f261,
    .gaunder = f71.f1,
    .lowinctc = f70.f16,
    .miscbus = f203811.f203833,
    .sched2 = f70.f14,
    .miscbusOnInfoForm = f69.f203812,
};

// Each row: topic, key, title;
//           flag 5, gateway, flag 7, status form, status field, status, number 15, flag 21, flag 22
//           (and, for miscbus alone, a second form and field).
// clang-format off

// Cross-state topics.
inline constexpr TopicArguments kCreditsRow{kXSTopicID_Credits, "Credits", "Credits",
    0, 1, 0, kStateForm14ID, kStatusFields.credits, kStatus0, 5, 1, 0};
inline constexpr TopicArguments kEndgrpRow{kXSTopicID_Endgrp, "Endgrp", "Finished State Interview",
    0, 1, 0, kStateForm14ID, kStatusFields.endgrp, kStatus0, 5, 1, 0};
inline constexpr TopicArguments kTaxPayPenRow{kXSTopicID_TaxPayPen, "TaxPayPen", "Taxes, Payments and Penalties",
    0, 1, 0, kStateForm14ID, kStatusFields.taxPayPen, kStatus0, 5, 1, 0};
inline constexpr TopicArguments kUpdateStateRow{kXSTopicID_UpdateState, "UpdateState", "Program Updates",
    0, 0, 0, kStateForm14ID, kStatusFields.updateState, kStatus0, 33, 0, 0};

// Georgia topics.
inline constexpr TopicArguments kGASecondaryNavsRow{kGATopicID_GASecondaryNavs, "GASecondaryNavs",
    "GA Secondary Navigation Tables",
    0, 2, 0, kNoForm, kNoField, kStatus0, 5, 0, 1};
inline constexpr TopicArguments kExtoftimRow{kGATopicID_extoftim, "extoftim", "Extension of Time to File",
    1, 0, 1, kGAForm69ID, kStatusFields.extoftim, kStatus1, 5, 0, 0};
inline constexpr TopicArguments kGaaddRow{kGATopicID_gaadd, "gaadd", "Additions",
    1, 0, 0, kGAForm70ID, kStatusFields.gaadd, kStatus1, 5, 0, 0};
inline constexpr TopicArguments kGaamendRow{kGATopicID_gaamend, "gaamend", "Amended Return",
    1, 0, 0, kGAForm189219ID, kStatusFields.gaamend, kStatus1, 5, 0, 0};
inline constexpr TopicArguments kGacontribRow{kGATopicID_gacontrib, "gacontrib", "Contributions",
    1, 0, 0, kGAForm70ID, kStatusFields.gacontrib, kStatus1, 5, 0, 0};
inline constexpr TopicArguments kGacredsumRow{kGATopicID_gacredsum, "gacredsum", "Credits Summary",
    0, 0, 0, kGAForm70ID, kStatusFields.gacredsum, kStatus0, 5, 0, 0};
inline constexpr TopicArguments kGadeductRow{kGATopicID_gadeduct, "gadeduct", "Deductions",
    1, 0, 0, kGAForm70ID, kStatusFields.gadeduct, kStatus0, 5, 0, 0};
inline constexpr TopicArguments kGaestRow{kGATopicID_gaest, "gaest", "Estimated Taxes",
    1, 0, 1, kGAForm75ID, kStatusFields.gaest, kStatus1, 5, 0, 0};
inline constexpr TopicArguments kGaextpayRow{kGATopicID_gaextpay, "gaextpay", "Amount Paid with Extension to File",
    1, 0, 0, kGAForm69ID, kStatusFields.gaextpay, kStatus1, 5, 0, 0};
inline constexpr TopicArguments kGagsRow{kGATopicID_gags, "gags", "Welcome to Your Georgia Return",
    0, 0, 0, kStateForm14ID, kStatusFields.gags, kStatus0, 5, 1, 0};
inline constexpr TopicArguments kGaincomeRow{kGATopicID_gaincome, "gaincome", "Income (Part-Year/Nonresidents)",
    1, 0, 1, kGAForm69ID, kStatusFields.gaincome, kStatus1, 5, 0, 0};
inline constexpr TopicArguments kGaincsectionRow{kGATopicID_gaincsection, "gaincsection", "Georgia Income",
    0, 0, 0, kGAForm70ID, kStatusFields.gaincsection, kStatus0, 5, 1, 0};
inline constexpr TopicArguments kGaincsumRow{kGATopicID_gaincsum, "gaincsum", "Income Summary",
    0, 0, 0, kGAForm70ID, kStatusFields.gaincsum, kStatus0, 5, 0, 0};
inline constexpr TopicArguments kGainfoRow{kGATopicID_gainfo, "gainfo", "Personal Information",
    1, 1, 1, kGAForm69ID, kStatusFields.gainfo, kStatus0, 5, 0, 0};
inline constexpr TopicArguments kGamiscRow{kGATopicID_gamisc, "gamisc", "Georgia Miscellaneous",
    0, 0, 0, kGAForm69ID, kStatusFields.gamisc, kStatus0, 5, 1, 0};
inline constexpr TopicArguments kGapaypensumRow{kGATopicID_gapaypensum, "gapaypensum",
    "Taxes, Payments and Penalties Summary",
    0, 0, 0, kGAForm69ID, kStatusFields.gapaypensum, kStatus0, 5, 0, 0};
inline constexpr TopicArguments kGarefappRow{kGATopicID_garefapp, "garefapp", "Apply Your Refund",
    0, 0, 0, kGAForm69ID, kStatusFields.garefapp, kStatus1, 5, 0, 0};
inline constexpr TopicArguments kGastcrRow{kGATopicID_gastcr, "gastcr", "Other State Tax Credit",
    1, 0, 0, kGAForm73ID, kStatusFields.gastcr, kStatus1, 5, 0, 0};
inline constexpr TopicArguments kGasubRow{kGATopicID_gasub, "gasub", "Subtractions",
    1, 0, 0, kGAForm70ID, kStatusFields.gasub, kStatus0, 5, 0, 0};
inline constexpr TopicArguments kGaunderRow{kGATopicID_gaunder, "gaunder", "Underpayment Penalty",
    1, 0, 0, kGAForm71ID, kStatusFields.gaunder, kStatus1, 5, 0, 0};
inline constexpr TopicArguments kLowinctcRow{kGATopicID_lowinctc, "lowinctc", "Low Income Credit",
    1, 0, 0, kGAForm70ID, kStatusFields.lowinctc, kStatus1, 5, 0, 0};
inline constexpr TopicArguments kMiscbusRow{kGATopicID_miscbus, "miscbus", "Other Business and Miscellaneous Credits",
    1, 4, 0, kGAForm203811ID, kStatusFields.miscbus, kStatus1, 4, 0, 0, kGAForm69ID, kStatusFields.miscbusOnInfoForm};
inline constexpr TopicArguments kSched2Row{kGATopicID_sched2, "sched2", "Miscellaneous Credits",
    1, 0, 0, kGAForm70ID, kStatusFields.sched2, kStatus0, 5, 0, 0};
// clang-format on

}  // namespace InterviewRows
