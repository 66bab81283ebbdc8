// The iterators over the form copies of a return.
//
// DataMgmt.h includes this header at its end, after the identifiers, values
// and handles that it uses: include DataMgmt.h.
#pragma once

#include <cstddef>
#include <utility>
#include <vector>

namespace DataMgmt {

// The copies of one form in ascending copy number, as they were when the
// iterator was made (copies deleted meanwhile are still visited; their
// handles stay valid).
class TaxFormIter {
public:
    TaxFormIter() = default;
    explicit TaxFormIter(std::vector<TaxFormPtr> copies) : copies_(std::move(copies)) {}

    bool atEOL() const { return position_ >= copies_.size(); }
    TaxFormPtr getTaxForm() const;  // empty at the end
    void next();
    void begin() { position_ = 0; }
    std::size_t size() const { return copies_.size(); }

private:
    std::vector<TaxFormPtr> copies_;
    std::size_t position_ = 0;
};

// The forms of a return that have at least one copy, in ascending form
// number (federal before state), as they were when the iterator was made.
class TaxFormIterIter {
public:
    using Entry = std::pair<FormID, std::vector<TaxFormPtr>>;

    TaxFormIterIter() = default;
    explicit TaxFormIterIter(std::vector<Entry> forms) : forms_(std::move(forms)) {}

    bool atEOL() const { return position_ >= forms_.size(); }
    TaxFormIter getTaxFormIter() const;  // an empty iterator at the end
    FormID getFormID() const;            // form 0 at the end
    void next();
    void begin() { position_ = 0; }
    std::size_t size() const { return forms_.size(); }

private:
    std::vector<Entry> forms_;
    std::size_t position_ = 0;
};

}  // namespace DataMgmt
