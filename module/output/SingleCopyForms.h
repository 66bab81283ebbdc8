// The forms of which the calculation takes copy 1 alone: a further copy is
// calculated on its own, but no figure of the return reads it. Georgia's
// return holds one of each (one form 500, one schedule of each kind), so
// the printer prints copy 1 alone and the e-file writes copy 1 alone; a
// further copy that holds an entry blocks the e-file, and the preparer is
// told to enter on copy 1 what of it belongs to the return. Header only:
// the host's notes and its e-file check read the same table.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>

#include "module/catalogues/Form69Lines.h"
#include "module/frame/FormIdentifiers.h"
#include "platform/Primitives.h"

namespace GAOutput {

// A form taken from copy 1 alone; some count only where a box of form 69
// is marked.
struct SingleCopyForm {
    const Primitives::QVImmutableFormIdentifier& form;
    const Primitives::QVImmutableIdentifier* countsWith = nullptr;  // the box of form 69
    const char* countsWhen = nullptr;                               // what the box says
};

inline const std::array kSingleCopyForms = {
    SingleCopyForm{kGAForm69ID},
    SingleCopyForm{kGAForm70ID},
    SingleCopyForm{kGAForm189215ID},
    SingleCopyForm{kGAForm189217ID},
    SingleCopyForm{kGAForm189219ID, &kForm69Lines.questions.amended, "the return amends one filed before"},
    SingleCopyForm{kGAForm190054ID},
    SingleCopyForm{kGAForm190055ID},
    SingleCopyForm{kGAForm190056ID},
    SingleCopyForm{kGAForm190057ID},
    SingleCopyForm{kGAForm190058ID},
    SingleCopyForm{kGAForm190059ID},
    SingleCopyForm{kGAForm190060ID},
    SingleCopyForm{kGAForm190061ID},
    SingleCopyForm{kGAForm190062ID},
    SingleCopyForm{kStateForm4ID},
};

// The form's row; null for a form of which every copy counts.
inline const SingleCopyForm* singleCopyForm(const Primitives::QVImmutableFormIdentifier& form) {
    const auto row = std::find_if(kSingleCopyForms.begin(), kSingleCopyForms.end(),
                                  [&](const SingleCopyForm& r) { return r.form == form; });
    return row == kSingleCopyForms.end() ? nullptr : &*row;
}

// Whether the copy is one after the first of such a form: neither printed
// nor written into the e-file, whatever it holds.
inline bool isFurtherCopyOfSingleCopyForm(const Primitives::QVImmutableFormIdentifier& form, std::uint16_t copy) {
    return copy > 1 && singleCopyForm(form) != nullptr;
}

}  // namespace GAOutput
