// Writing a return file: the document text of staged contents.
#include <libxml/entities.h>
#include <libxml/parser.h>
#include <libxml/tree.h>

#include <algorithm>
#include <memory>

#include "platform/Exceptions.h"
#include "platform/returnfile/ReturnFileInternal.h"
#include "platform/store/CommonItemTable.h"
#include "platform/store/DerivedItems.h"

namespace PersistanceMgmt {

using DataMgmt::FieldValue;
using DataMgmt::formatDisplayAmount;
using namespace detail;

namespace {

// Writes the document's text: one element a line, indented by a tab a level,
// a leaf's text on its line (<NAME>text</NAME>, or <NAME/> when it has none).
// Texts and attribute values are escaped by libxml2's own serializers, the
// ones its text writer uses; a value of plain characters, which they leave
// as it is, is copied without a call.
class Writer {
public:
    std::string document(const ReturnFileContents& contents) {
        // Room for the fields (a field's lines take about 150 characters)
        // and the rest, so that the text is seldom moved.
        std::size_t fields = 0;
        for (const std::optional<ReturnPart>* part : {&contents.federal, &contents.georgia}) {
            fields += *part ? (*part)->fieldCount() : 0;
        }
        out_.reserve(fields * 160 + 4096);
        out_ = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
        start("RETURNFILE");
        attribute("TAXYEAR", std::to_string(kTaxYear));
        if (contents.host.clock || contents.host.randSeed) {
            start("HOST");
            if (contents.host.clock) element("CLOCK", ReturnFile::formatUtcTime(*contents.host.clock));
            if (contents.host.randSeed) element("RANDSEED", std::to_string(*contents.host.randSeed));
            end();
        }
        if (contents.federal) writeReturn(*contents.federal);
        if (contents.georgia) writeReturn(*contents.georgia);
        end();
        return std::move(out_);
    }

private:
    // Characters that neither serializer changes.
    static bool plain(const std::string& text) {
        return std::all_of(text.begin(), text.end(), [](char c) {
            return c >= 0x20 && c < 0x7F && c != '<' && c != '>' && c != '&' && c != '"' && c != '\'';
        });
    }

    // "<name" at the line's indent; attributes follow, then child elements
    // (the first closes the start tag), the leaf's text, or end().
    void start(const char* name) {
        openParent();
        out_.append(open_.size(), '\t');
        out_ += '<';
        out_ += name;
        open_.push_back({name, false});
    }
    // Ends the element: "/>" when it holds nothing.
    void end() {
        const OpenElement element = open_.back();
        open_.pop_back();
        if (!element.holdsElements) {
            out_ += "/>\n";
            return;
        }
        out_.append(open_.size(), '\t');
        out_ += "</";
        out_ += element.name;
        out_ += ">\n";
    }
    // Ends a started leaf with its text.
    void leafText(const std::string& text) {
        if (text.empty()) {
            end();
            return;
        }
        out_ += '>';
        if (plain(text)) {
            out_ += text;
        } else {
            std::unique_ptr<xmlChar, XmlFree> escaped(xmlEncodeSpecialChars(nullptr, BAD_CAST text.c_str()));
            if (!escaped) throw Exceptions::QuarloException("out of memory", "ReturnFile", "write");
            out_ += reinterpret_cast<const char*>(escaped.get());
        }
        out_ += "</";
        out_ += open_.back().name;
        out_ += ">\n";
        open_.pop_back();
    }
    void openParent() {
        if (!open_.empty() && !open_.back().holdsElements) {
            out_ += ">\n";
            open_.back().holdsElements = true;
        }
    }
    void attribute(const char* name, const std::string& value) {
        out_ += ' ';
        out_ += name;
        out_ += "=\"";
        if (plain(value)) {
            out_ += value;
        } else {
            std::unique_ptr<xmlBuffer, XmlBufferFree> buffer(xmlBufferCreate());
            if (!buffer) throw Exceptions::QuarloException("out of memory", "ReturnFile", "write");
            xmlAttrSerializeTxtContent(buffer.get(), utf8Document(), nullptr, BAD_CAST value.c_str());
            out_.append(reinterpret_cast<const char*>(xmlBufferContent(buffer.get())),
                        static_cast<std::size_t>(xmlBufferLength(buffer.get())));
        }
        out_ += '"';
    }
    // An element holding escaped text (never CDATA: a carriage return would
    // not survive a CDATA section).
    void element(const char* name, const std::string& value) {
        start(name);
        leafText(value);
    }

    // A document written in UTF-8, as the serializer asks for one to keep
    // characters beyond ASCII as they are.
    xmlDoc* utf8Document() {
        if (!utf8Document_) {
            utf8Document_.reset(xmlNewDoc(BAD_CAST "1.0"));
            if (!utf8Document_) throw Exceptions::QuarloException("out of memory", "ReturnFile", "write");
            utf8Document_->encoding = xmlStrdup(BAD_CAST "UTF-8");
        }
        return utf8Document_.get();
    }

    struct XmlFree {
        void operator()(xmlChar* p) const { xmlFree(p); }
    };
    struct XmlBufferFree {
        void operator()(xmlBuffer* b) const { xmlBufferFree(b); }
    };
    struct XmlDocFree {
        void operator()(xmlDoc* d) const { xmlFreeDoc(d); }
    };

    static void requireXmlText(const std::string& text, const std::string& where) {
        requireXmlTextAt(text, [&where] { return where; });
    }
    // The same, with the place made only when it is needed.
    template <class Where>
    static void requireXmlTextAt(const std::string& text, const Where& where) {
        if (const std::string why = xmlTextProblem(text); !why.empty()) {
            throw Exceptions::QuarloException(where() + ": the text " + why, "ReturnFile", "write");
        }
    }

    // The same for the value of a field or the refund code, which is also one
    // line, as the reader takes it.
    template <class Where>
    static void requireValueTextAt(const std::string& text, const Where& where) {
        requireXmlTextAt(text, where);
        if (const std::string why = controlCharacterProblem(text); !why.empty()) {
            throw Exceptions::QuarloException(where() + ": the text " + why, "ReturnFile", "write");
        }
    }

    void writeSeeds(const ReturnSeeds& s) {
        start("HOST");
        if (s.filingStatus) element("FILINGSTATUS", std::to_string(*s.filingStatus));
        if (s.form2555Present) element("FORM2555", *s.form2555Present ? "X" : "NO");
        if (s.officeLocatorURL) {
            requireXmlText(*s.officeLocatorURL, "office locator URL");
            element("OFFICELOCATORURL", *s.officeLocatorURL);
        }
        for (const auto& [name, value] : s.sessionProperties) {
            requireXmlText(name, "session property name");
            start("SESSIONPROPERTY");
            attribute("NAME", name);
            leafText(std::to_string(value));
        }
        for (const CommonItem& c : s.commonItems) {
            start("PULLCOMMON");
            attribute("FORM", c.formName.empty() ? std::to_string(c.form.getNumber()) : c.formName);
            // A named item is written by its name, which says what it is.
            if (const CommonItemInfo* named = findCommonItem(c.type)) {
                attribute("ITEM", named->name);
            } else {
                attribute("TYPE", std::to_string(c.type));
            }
            leafText(std::to_string(c.value));
        }
        for (const W2Split& w : s.w2Splits) {
            start("W2SPLIT");
            attribute("FORM", w.formName.empty() ? std::to_string(w.form.getNumber()) : w.formName);
            attribute("FIELD", std::to_string(w.field.getNumber()));
            attribute("TAXPAYER", formatDisplayAmount(w.taxpayer, 0));
            attribute("SPOUSE", formatDisplayAmount(w.spouse, 0));
            end();
        }
        if (s.stateWages) element("STATEWAGES", formatDisplayAmount(*s.stateWages, 0));
        if (s.allStateWages) element("ALLSTATEWAGES", formatDisplayAmount(*s.allStateWages, 0));
        if (s.stateTaxWithheld) element("STATEWITHHELD", formatDisplayAmount(*s.stateTaxWithheld, 0));
        if (s.stateTaxWithheldNoLocal)
            element("STATEWITHHELDNOLOCAL", formatDisplayAmount(*s.stateTaxWithheldNoLocal, 0));
        if (s.inElf) element("INELF", *s.inElf ? "X" : "NO");
        if (s.enabledType) element("ENABLEDTYPE", std::to_string(*s.enabledType));
        if (s.taxBalance) element("TAXBALANCE", std::to_string(*s.taxBalance));
        if (s.refundCode) {
            requireValueTextAt(*s.refundCode, [] { return std::string("refund code"); });
            element("REFUNDCODE", *s.refundCode);
        }
        end();
    }

    void writeReturn(const ReturnPart& part) {
        start("RETURN");
        attribute("TYPE", part.type == DataMgmt::kFederalReturnType ? "federal" : "GA");
        if (!part.label.empty()) {
            requireXmlText(part.label, "return label");
            attribute("LABEL", part.label);
        }
        if (!part.name.empty()) {
            requireXmlText(part.name, "return name");
            element("RETURNNAME", part.name);
        }
        if (!part.seeds.empty()) writeSeeds(part.seeds);
        for (const CopyEntry& c : part.copies) writeCopy(c);
        end();
    }

    void writeCopy(const CopyEntry& c) {
        const DataMgmt::TaxFormDesc& form = *c.desc;
        start("FORM");
        attribute("DEVNAME", form.getDevName());
        attribute("COPY", std::to_string(c.copy));
        bool holdsValue = false;
        for (const FieldEntry& f : c.fields) holdsValue = holdsValue || !f.value.isNull();
        if (c.dataEntered && *c.dataEntered != holdsValue) attribute("DATAENTERED", *c.dataEntered ? "1" : "0");
        if (c.owner) attribute("OWNER", ownerWord(*c.owner));
        requireXmlText(form.getBusinessName(), "form " + form.getDevName() + ": business name");
        element("BUSNAME", form.getBusinessName());
        for (const FieldEntry& f : c.fields) {
            if (f.value.isNull() && !f.overridden) continue;
            const DataMgmt::FormFieldDesc& d = *f.desc;
            // Where the field is, for a refusal only.
            const auto where = [&] {
                return "form " + form.getDevName() + " copy " + std::to_string(c.copy) + " field " + d.describe();
            };
            const std::string text = valueText(f.value, d, where);
            requireValueTextAt(text, where);
            start("FIELD");
            if (f.overridden) attribute("OVERRIDDEN", "1");
            element("ID", std::to_string(d.getID().getNumber()));
            element("NAME", d.getSymbolicName());
            element("LINENUM", d.getLineID());
            element("VALUE", text);
            end();
        }
        end();
    }

    // The value's text; an amount that is not finite is refused.
    template <class Where>
    static std::string valueText(const FieldValue& v, const DataMgmt::FormFieldDesc& d, const Where& where) {
        std::string s = PersistanceMgmt::valueText(d, v);
        if (s.empty() && v.isNumber()) {
            throw Exceptions::QuarloException(where() + ": the amount is not a finite number", "ReturnFile", "write");
        }
        return s;
    }

    struct OpenElement {
        const char* name;
        bool holdsElements;
    };

    std::string out_;
    std::vector<OpenElement> open_;
    std::unique_ptr<xmlDoc, XmlDocFree> utf8Document_;
};

}  // namespace

std::string ReturnFile::serialize(const ReturnFileContents& contents) {
    xmlInitParser();
    Writer writer;
    return writer.document(contents);
}

void ReturnFile::write(const std::string& path, const ReturnFileContents& contents) {
    writeAtomically(path, serialize(contents));
}

}  // namespace PersistanceMgmt
