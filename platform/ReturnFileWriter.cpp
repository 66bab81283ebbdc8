// Writing a return file: the document text of staged contents.
#include <libxml/parser.h>
#include <libxml/xmlwriter.h>

#include "platform/CommonItemTable.h"
#include "platform/Exceptions.h"
#include "platform/ReturnFileInternal.h"

namespace PersistanceMgmt {

using DataMgmt::FieldValue;
using DataMgmt::formatDisplayAmount;
using namespace detail;

namespace {

class Writer {
public:
    Writer() : buffer_(xmlBufferCreate()) {
        if (buffer_ == nullptr) throw Exceptions::QuarloException("out of memory", "ReturnFile", "write");
        writer_ = xmlNewTextWriterMemory(buffer_, 0);
        if (writer_ == nullptr) {
            xmlBufferFree(buffer_);
            throw Exceptions::QuarloException("cannot create the XML writer", "ReturnFile", "write");
        }
    }
    ~Writer() {
        if (writer_ != nullptr) xmlFreeTextWriter(writer_);
        xmlBufferFree(buffer_);
    }
    Writer(const Writer&) = delete;
    Writer& operator=(const Writer&) = delete;

    std::string document(const ReturnFileContents& contents) {
        check(xmlTextWriterSetIndent(writer_, 1));
        check(xmlTextWriterSetIndentString(writer_, BAD_CAST "\t"));
        check(xmlTextWriterStartDocument(writer_, "1.0", "UTF-8", nullptr));
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
        check(xmlTextWriterEndDocument(writer_));
        check(xmlTextWriterFlush(writer_));
        xmlFreeTextWriter(writer_);
        writer_ = nullptr;
        return std::string(reinterpret_cast<const char*>(xmlBufferContent(buffer_)),
                           static_cast<std::size_t>(xmlBufferLength(buffer_)));
    }

private:
    void check(int rc) {
        if (rc < 0) throw Exceptions::QuarloException("the XML writer failed", "ReturnFile", "write");
    }
    void start(const char* name) { check(xmlTextWriterStartElement(writer_, BAD_CAST name)); }
    void end() { check(xmlTextWriterEndElement(writer_)); }
    void attribute(const char* name, const std::string& value) {
        check(xmlTextWriterWriteAttribute(writer_, BAD_CAST name, BAD_CAST value.c_str()));
    }
    // An element holding escaped text (never CDATA: a carriage return would
    // not survive a CDATA section).
    void element(const char* name, const std::string& value) {
        start(name);
        if (!value.empty()) check(xmlTextWriterWriteString(writer_, BAD_CAST value.c_str()));
        end();
    }

    static void requireXmlText(const std::string& text, const std::string& where) {
        requireXmlTextAt(text, [&where] { return where; });
    }
    // The same, with the place made only when it is needed.
    template <class Where>
    static void requireXmlTextAt(const std::string& text, const Where& where) {
        std::string why;
        if (!isXmlText(text, why)) throw Exceptions::QuarloException(where() + ": " + why, "ReturnFile", "write");
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
            check(xmlTextWriterWriteString(writer_, BAD_CAST std::to_string(value).c_str()));
            end();
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
            check(xmlTextWriterWriteString(writer_, BAD_CAST std::to_string(c.value).c_str()));
            end();
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
            requireXmlText(*s.refundCode, "refund code");
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
        requireXmlText(form.getBusinessName(), "form " + form.getDevName() + ": business name");
        element("BUSNAME", form.getBusinessName());
        for (const FieldEntry& f : c.fields) {
            if (f.value.isNull() && !f.overridden) continue;
            const DataMgmt::FormFieldDesc& d = *f.desc;
            // Where the field is, for a refusal only.
            const auto where = [&] {
                return "form " + form.getDevName() + " copy " + std::to_string(c.copy) + " field " +
                       d.getSymbolicName();
            };
            const std::string text = valueText(f.value, d, where);
            requireXmlTextAt(text, where);
            start("FIELD");
            if (f.overridden) attribute("OVERRIDDEN", "1");
            // A value of another kind than its field's (the store keeps what a
            // calculation writes) says its kind, so that it reads back as it is.
            if (!f.value.isNull() && f.value.kind() != naturalKind(d)) attribute("KIND", kindWord(f.value.kind()));
            element("ID", std::to_string(d.getID().getNumber()));
            element("NAME", d.getSymbolicName());
            element("LINENUM", d.getLineID());
            element("VALUE", text);
            end();
        }
        end();
    }

    template <class Where>
    static std::string valueText(const FieldValue& v, const DataMgmt::FormFieldDesc& d, const Where& where) {
        switch (v.kind()) {
            case FieldValue::Kind::Box:
                return v.boxYes() ? "X" : "NO";
            case FieldValue::Kind::Text:
                return v.getText();
            case FieldValue::Kind::Number: {
                std::string s = formatDisplayAmount(v.getNumber(), amountPlaces(d));
                if (s.empty()) {
                    throw Exceptions::QuarloException(where() + ": the amount is not a finite number", "ReturnFile",
                                                      "write");
                }
                return s;
            }
            case FieldValue::Kind::Null:
                break;
        }
        return {};
    }

    xmlBufferPtr buffer_;
    xmlTextWriterPtr writer_ = nullptr;
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
