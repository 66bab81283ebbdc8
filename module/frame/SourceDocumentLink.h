// The source-document link: the text "<source form>/<source copy>/<entry>"
// that the calculation writes into the link fields of form 70 and form
// 189218 and that the calculation and the review read back.
#pragma once

#include <string>

namespace GADataMgmt {

// Reads a link text: three whole numbers (a minus sign allowed) separated by
// "/", with blanks and tabs around the whole allowed and nothing else. False,
// with the outputs unspecified, for any other text.
bool parseSourceDocumentLink(const std::string& text, int& form, int& copy, int& entry);

}  // namespace GADataMgmt
