// The option files of the test facility and the pass they start.
//
// Option files are small XML texts in the options directory of the
// configuration, each option an element with the key as its name and the
// value as its text ("<CLEAR>No</CLEAR>"). A yes/no option counts only when
// its value is exactly "Yes". The facility keeps its state in two boxes of
// copy 1 of the information form: the done mark (a pass has run; readers
// stop until a clear file resets it) and the busy mark (a feature is
// recalculating the return; every feature is skipped).
#pragma once

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/Primitives.h"
#include "platform/store/DataMgmt.h"

namespace StateCalculationMgmt {

// Files of the options directory: the options file, read by the driver and
// both hooks, and the clear file of each reader.
inline constexpr const char* kOptionsFileName = "QuarloAutoTest_QVQA.xml";
inline constexpr const char* kDriverClearFileName = "GAQuarloAutoTest_Clear.xml";
std::string scrubberClearFileName(const std::string& stateCode);
std::string daemonClearFileName(const std::string& stateCode);

// The option file's path in the configuration's options directory.
std::string optionFilePath(const std::string& fileName);

// Values by key; a key the file lacks reads empty.
using OptionValues = std::map<std::string, std::string>;

// An option set to exactly "Yes".
bool isYes(const std::string& value);

// Writes the clear file anew with CLEAR "No", so that it resets once; a
// note when it cannot be written, or must not be: a file that the run reads
// or writes as its own output (the return file, the federal e-file, the
// e-file, ...) is never written over.
void writeClearFile(const std::string& path);

// The start every reader shares. Reads CLEAR from the clear file and runs
// reset when it is "Yes"; stops while the done mark is set; reads the keys
// of the options file into options and tries to remove the options
// directory (which goes only when empty). An option file that cannot be
// read as a regular file within kTestFileLimit, or is not well-formed XML,
// gives no values and a note. False when the reader stops there: a pass
// has run, or the host's reader failed on a file.
bool beginTestPass(const std::string& clearFile, const std::function<void()>& reset, DataMgmt::TaxReturn& taxReturn,
                   const Primitives::QVImmutableFormIdentifier& infoForm,
                   const Primitives::QVImmutableIdentifier& doneMark, const std::vector<std::string>& keys,
                   OptionValues& options);

}  // namespace StateCalculationMgmt
