// The fixed row of every interview topic class: identifier, key, title, the
// host's flags, the status form and field, and the status the host starts
// from. Keys and titles live as long as the module is loaded; the titles of
// Credits, TaxPayPen and Endgrp are replaced from the return when the topic
// is built.
#pragma once

#include "module/catalogues/TopicStatusLines.h"
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

// Each row: topic, key, title;
//           flag 5, gateway, flag 7, status form, status field, status, number 15, flag 21, flag 22
//           (and, for miscbus alone, a second form and field).
// clang-format off

// Cross-state topics.
inline constexpr TopicArguments kCreditsRow{kXSTopicID_Credits, "Credits", "Credits",
    0, 1, 0, kStateForm14ID, kTopicStatusLines.credits, kStatus0, 5, 1, 0};
inline constexpr TopicArguments kEndgrpRow{kXSTopicID_Endgrp, "Endgrp", "Finished State Interview",
    0, 1, 0, kStateForm14ID, kTopicStatusLines.endgrp, kStatus0, 5, 1, 0};
inline constexpr TopicArguments kTaxPayPenRow{kXSTopicID_TaxPayPen, "TaxPayPen", "Taxes, Payments and Penalties",
    0, 1, 0, kStateForm14ID, kTopicStatusLines.taxPayPen, kStatus0, 5, 1, 0};
inline constexpr TopicArguments kUpdateStateRow{kXSTopicID_UpdateState, "UpdateState", "Program Updates",
    0, 0, 0, kStateForm14ID, kTopicStatusLines.updateState, kStatus0, 33, 0, 0};

// Georgia topics.
inline constexpr TopicArguments kGASecondaryNavsRow{kGATopicID_GASecondaryNavs, "GASecondaryNavs",
    "GA Secondary Navigation Tables",
    0, 2, 0, kNoForm, kNoField, kStatus0, 5, 0, 1};
inline constexpr TopicArguments kExtoftimRow{kGATopicID_extoftim, "extoftim", "Extension of Time to File",
    1, 0, 1, kGAForm69ID, kTopicStatusLines.extoftim, kStatus1, 5, 0, 0};
inline constexpr TopicArguments kGaaddRow{kGATopicID_gaadd, "gaadd", "Additions",
    1, 0, 0, kGAForm70ID, kTopicStatusLines.gaadd, kStatus1, 5, 0, 0};
inline constexpr TopicArguments kGaamendRow{kGATopicID_gaamend, "gaamend", "Amended Return",
    1, 0, 0, kGAForm189219ID, kTopicStatusLines.gaamend, kStatus1, 5, 0, 0};
inline constexpr TopicArguments kGacontribRow{kGATopicID_gacontrib, "gacontrib", "Contributions",
    1, 0, 0, kGAForm70ID, kTopicStatusLines.gacontrib, kStatus1, 5, 0, 0};
inline constexpr TopicArguments kGacredsumRow{kGATopicID_gacredsum, "gacredsum", "Credits Summary",
    0, 0, 0, kGAForm70ID, kTopicStatusLines.gacredsum, kStatus0, 5, 0, 0};
inline constexpr TopicArguments kGadeductRow{kGATopicID_gadeduct, "gadeduct", "Deductions",
    1, 0, 0, kGAForm70ID, kTopicStatusLines.gadeduct, kStatus0, 5, 0, 0};
inline constexpr TopicArguments kGaestRow{kGATopicID_gaest, "gaest", "Estimated Taxes",
    1, 0, 1, kGAForm75ID, kTopicStatusLines.gaest, kStatus1, 5, 0, 0};
inline constexpr TopicArguments kGaextpayRow{kGATopicID_gaextpay, "gaextpay", "Amount Paid with Extension to File",
    1, 0, 0, kGAForm69ID, kTopicStatusLines.gaextpay, kStatus1, 5, 0, 0};
inline constexpr TopicArguments kGagsRow{kGATopicID_gags, "gags", "Welcome to Your Georgia Return",
    0, 0, 0, kStateForm14ID, kTopicStatusLines.gags, kStatus0, 5, 1, 0};
inline constexpr TopicArguments kGaincomeRow{kGATopicID_gaincome, "gaincome", "Income (Part-Year/Nonresidents)",
    1, 0, 1, kGAForm69ID, kTopicStatusLines.gaincome, kStatus1, 5, 0, 0};
inline constexpr TopicArguments kGaincsectionRow{kGATopicID_gaincsection, "gaincsection", "Georgia Income",
    0, 0, 0, kGAForm70ID, kTopicStatusLines.gaincsection, kStatus0, 5, 1, 0};
inline constexpr TopicArguments kGaincsumRow{kGATopicID_gaincsum, "gaincsum", "Income Summary",
    0, 0, 0, kGAForm70ID, kTopicStatusLines.gaincsum, kStatus0, 5, 0, 0};
inline constexpr TopicArguments kGainfoRow{kGATopicID_gainfo, "gainfo", "Personal Information",
    1, 1, 1, kGAForm69ID, kTopicStatusLines.gainfo, kStatus0, 5, 0, 0};
inline constexpr TopicArguments kGamiscRow{kGATopicID_gamisc, "gamisc", "Georgia Miscellaneous",
    0, 0, 0, kGAForm69ID, kTopicStatusLines.gamisc, kStatus0, 5, 1, 0};
inline constexpr TopicArguments kGapaypensumRow{kGATopicID_gapaypensum, "gapaypensum",
    "Taxes, Payments and Penalties Summary",
    0, 0, 0, kGAForm69ID, kTopicStatusLines.gapaypensum, kStatus0, 5, 0, 0};
inline constexpr TopicArguments kGarefappRow{kGATopicID_garefapp, "garefapp", "Apply Your Refund",
    0, 0, 0, kGAForm69ID, kTopicStatusLines.garefapp, kStatus1, 5, 0, 0};
inline constexpr TopicArguments kGastcrRow{kGATopicID_gastcr, "gastcr", "Other State Tax Credit",
    1, 0, 0, kGAForm73ID, kTopicStatusLines.gastcr, kStatus1, 5, 0, 0};
inline constexpr TopicArguments kGasubRow{kGATopicID_gasub, "gasub", "Subtractions",
    1, 0, 0, kGAForm70ID, kTopicStatusLines.gasub, kStatus0, 5, 0, 0};
inline constexpr TopicArguments kGaunderRow{kGATopicID_gaunder, "gaunder", "Underpayment Penalty",
    1, 0, 0, kGAForm71ID, kTopicStatusLines.gaunder, kStatus1, 5, 0, 0};
inline constexpr TopicArguments kLowinctcRow{kGATopicID_lowinctc, "lowinctc", "Low Income Credit",
    1, 0, 0, kGAForm70ID, kTopicStatusLines.lowinctc, kStatus1, 5, 0, 0};
inline constexpr TopicArguments kMiscbusRow{kGATopicID_miscbus, "miscbus", "Other Business and Miscellaneous Credits",
    1, 4, 0, kGAForm203811ID, kTopicStatusLines.miscbus, kStatus1, 4, 0, 0, kGAForm69ID, kTopicStatusLines.miscbusOnInfoForm};
inline constexpr TopicArguments kSched2Row{kGATopicID_sched2, "sched2", "Miscellaneous Credits",
    1, 0, 0, kGAForm70ID, kTopicStatusLines.sched2, kStatus0, 5, 0, 0};
// clang-format on

}  // namespace InterviewRows
