// The field that holds each interview topic's status, by the topic's key: on
// state form 14 for the cross-state topics and gags, else on the form the
// topic asks about; miscbus has a second one on the information form. The
// topic rows of the interview read them.
#pragma once

#include "module/catalogues/Form69Lines.h"
#include "module/catalogues/GAForm189219FieldIds.h"
#include "module/catalogues/GAForm203811FieldIds.h"
#include "module/catalogues/GAForm69FieldIds.h"
#include "module/catalogues/GAForm70FieldIds.h"
#include "module/catalogues/GAForm71FieldIds.h"
#include "module/catalogues/GAForm73FieldIds.h"
#include "module/catalogues/GAForm75FieldIds.h"
#include "module/catalogues/StateForm14FieldIds.h"
#include "platform/Primitives.h"

struct TopicStatusLines {
    using Line = const Primitives::QVImmutableIdentifier&;

    Line credits, endgrp, taxPayPen, updateState;  // the cross-state topics
    Line extoftim, gaadd, gaamend, gacontrib, gacredsum, gadeduct, gaest, gaextpay, gags, gaincome, gaincsection,
        gaincsum, gainfo, gamisc, gapaypensum, garefapp, gastcr, gasub, gaunder, lowinctc, miscbus, sched2;
    Line miscbusOnInfoForm;
};

inline constexpr TopicStatusLines kTopicStatusLines = [] {
    const auto& s14 = kStateForm14FieldIds;
    const auto& f69 = kGAForm69FieldIds;
    const auto& f70 = kGAForm70FieldIds;
    return TopicStatusLines{
        .credits = s14.f39,
        .endgrp = s14.f19,
        .taxPayPen = s14.f40,
        .updateState = s14.f9012,
        // The mark of a further estimated payment, which the information
        // form's calculation sets.
        .extoftim = kForm69Lines.estimatedPayments.furtherMark,
        .gaadd = f70.f260,
        .gaamend = kGAForm189219FieldIds.f189557,
        .gacontrib = f70.f265,
        .gacredsum = f70.f264,
        .gadeduct = f70.f263,
        .gaest = kGAForm75FieldIds.f1,
        .gaextpay = f69.f89,
        .gags = s14.f18,
        .gaincome = f69.f86,
        .gaincsection = f70.f33440,
        .gaincsum = f70.f262,
        .gainfo = f69.f3,
        .gamisc = f69.f90,
        .gapaypensum = f69.f87,
        .garefapp = f69.f88,
        .gastcr = kGAForm73FieldIds.f1,
        .gasub = f70.f261,
        .gaunder = kGAForm71FieldIds.f1,
        .lowinctc = f70.f16,
        .miscbus = kGAForm203811FieldIds.f203833,
        .sched2 = f70.f14,
        .miscbusOnInfoForm = f69.f203812,
    };
}();
