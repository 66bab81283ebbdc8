// What the test facility's dumps share: their output files and the XML
// documents of a calculated return.
#pragma once

#include <functional>
#include <string>

#include "platform/Primitives.h"
#include "platform/store/DataMgmt.h"

namespace StateCalculationMgmt {

// The three XML documents of a return:
//   whole return: RETURN with LABEL, RETURNNAME; FORM with BUSNAME; FIELD
//     with ID, NAME, LINENUM and VALUE;
//   daemon dump: the same without ID;
//   field values: RETURN, FORM with the dev name in upper case, FIELD NAME
//     with VALUE.
enum class DumpLayout { kWholeReturn, kDaemon, kFieldValues };

// Where a dump keeps its marks: the copy, the done mark and the busy mark.
struct DumpMarks {
    DataMgmt::TaxFormPtr info;
    Primitives::QVImmutableIdentifier doneMark;
    Primitives::QVImmutableIdentifier busyMark;
};

// Writes the document of the return into directory/<return name>.xml (a
// TestOutput, with LF line ends): the lines before the first form, then the
// recalculation under the busy mark (cleared again whichever way it ends),
// then every copy of every form in display order with the fields that hold
// a value (trimmed), then the done mark. Values, the return name and
// business names stand in CDATA.
void writeReturnDocument(const DataMgmt::TaxReturn& taxReturn, DumpLayout layout, const std::string& directory,
                         const std::string& returnName, const DumpMarks& marks,
                         const std::function<void()>& recalculate);

}  // namespace StateCalculationMgmt
