// Loading a return file into the returns and the host, and saving what the
// returns hold.
#include "platform/Exceptions.h"
#include "platform/returnfile/ReturnFileInternal.h"
#include "platform/store/DerivedItems.h"
#include "platform/util/Crt.h"

namespace PersistanceMgmt {

using detail::returnTypeWord;

namespace {

// Checks, before anything is changed, that every copy of the part belongs to
// the target return's own descriptions.
void checkTarget(const ReturnPart& part, const DataMgmt::TaxReturn* target) {
    const char* word = returnTypeWord(part.type);
    if (target == nullptr) {
        throw Exceptions::QuarloException(std::string("the file holds a ") + word + " return but none is open",
                                          "ReturnFile", "apply");
    }
    for (const CopyEntry& c : part.copies) {
        if (target->getTaxFormDescriptor(c.desc->getTypeID()).get() != c.desc.get()) {
            throw Exceptions::QuarloException("form " + c.desc->getDevName() +
                                                  " was read against other form "
                                                  "definitions than those of the " +
                                                  word + " return",
                                              "ReturnFile", "apply");
        }
    }
}

void applyCopies(const ReturnPart& part, DataMgmt::TaxReturn& target) {
    for (const CopyEntry& c : part.copies) {
        const Primitives::QVImmutableFormIdentifier& id = c.desc->getTypeID();
        DataMgmt::TaxFormPtr copy = target.getFormUVPtr(id, c.copy, true);
        if (copy.isNull()) {
            throw Exceptions::QuarloException(
                "form " + c.desc->getDevName() + " copy " + std::to_string(c.copy) + " cannot be created", "ReturnFile",
                "apply");
        }
        for (const FieldEntry& f : c.fields) {
            copy->setValue(f.desc->getID(), f.value);
            if (f.overridden) copy->setOverridden(f.desc->getID(), true);
        }
        target.setDataEntered(id, c.copy, c.effectiveDataEntered());
    }
}

void applyFederalSeeds(const ReturnSeeds& s, DataMgmt::TaxReturn& target) {
    if (s.filingStatus) target.setFilingStatusNumber(static_cast<std::int8_t>(*s.filingStatus));
    if (s.form2555Present) target.setForm2555Present(*s.form2555Present);
    if (s.officeLocatorURL) target.setOfficeLocatorURL(*s.officeLocatorURL);
    for (const auto& [name, value] : s.sessionProperties) {
        target.getSessionProperties()->setQVInt8Property(name, value);
    }
}

// The common items the federal return answers itself, for each federal form
// the return may be filed on, and the W-2 split by the W-2s' owners; the
// seeds agree with them (the reader refuses those that do not).
void applyDerivedItems(const ReturnFileContents& contents, StateDataMgmt::StateTaxReturn& target) {
    for (const DerivedItem& d : deriveCommonItems(contents)) {
        for (const std::int32_t form : kFederalMainForms) {
            target.setPullCommon(Primitives::QVImmutableFormIdentifier(form, false), Utils::PCTypes{d.type}, d.value);
        }
    }
    if (const std::optional<W2Split> w = deriveW2Split(contents))
        target.setFromW2(w->form, w->field, w->taxpayer, w->spouse);
}

// The owner a loaded copy stated (the store keeps no owner of its own).
std::optional<Filer> loadedOwner(const ReturnPart* loaded, const Primitives::QVImmutableFormIdentifier& form,
                                 std::uint16_t copy) {
    if (loaded == nullptr) return std::nullopt;
    for (const CopyEntry& c : loaded->copies) {
        if (c.copy == copy && c.desc->getTypeID() == form) return c.owner;
    }
    return std::nullopt;
}

void applyStateSeeds(const ReturnSeeds& s, StateDataMgmt::StateTaxReturn& target) {
    // A seed answers for the main form the return is filed on, whichever of
    // them it names (the reader takes main forms only, each item once).
    for (const CommonItem& c : s.commonItems) {
        for (const std::int32_t form : kFederalMainForms) {
            target.setPullCommon(Primitives::QVImmutableFormIdentifier(form, false),
                                 static_cast<Utils::PCTypes>(c.type), c.value);
        }
    }
    for (const W2Split& w : s.w2Splits) target.setFromW2(w.form, w.field, w.taxpayer, w.spouse);
    if (s.stateWages) target.setStateWages(s.stateWages);
    if (s.allStateWages) target.setAllStateWages(s.allStateWages);
    if (s.stateTaxWithheld) target.setStateTaxWithheld(s.stateTaxWithheld);
    if (s.stateTaxWithheldNoLocal) target.setStateTaxWithheldNoLocal(s.stateTaxWithheldNoLocal);
    if (s.inElf) target.setInElf(*s.inElf);
    if (s.enabledType) target.setEnabledType(*s.enabledType);
    if (s.taxBalance) target.setTaxBalance(s.taxBalance);
    if (s.refundCode) target.setRefundCode(*s.refundCode);
}

ReturnPart snapshotPart(DataMgmt::TaxReturn& source, const ReturnPart* loaded) {
    ReturnPart part;
    part.type = source.getReturnType();
    if (loaded != nullptr) {
        part.name = loaded->name;
        part.label = loaded->label;
        part.seeds = loaded->seeds;
    }
    const DataMgmt::TaxReturnDescPtr desc = source.getTaxReturnDesc();
    for (DataMgmt::TaxFormDescIter forms = desc->getTaxFormDescriptorsInDisplayOrder(); !forms.atEOL(); forms.next()) {
        const DataMgmt::TaxFormDescPtr form = forms.getTaxFormDescriptor();
        const Primitives::QVImmutableFormIdentifier& id = form->getTypeID();
        for (std::uint16_t n : source.copyNumbers(id)) {
            const DataMgmt::TaxFormPtr copy = source.getForm(id, n);
            CopyEntry entry;
            entry.desc = form;
            entry.copy = n;
            entry.dataEntered = copy->isDataEntered();
            entry.owner = loadedOwner(loaded, id, n);
            copy->forEachSetField([&](const Primitives::QVImmutableIdentifier& field, const DataMgmt::FieldValue& value,
                                      bool overridden) {
                entry.fields.push_back(FieldEntry{form->getFieldDesc(field), value, overridden, 0});
            });
            part.copies.push_back(std::move(entry));
        }
    }
    return part;
}

}  // namespace

ReturnFileContents ReturnFile::load(const std::string& path, DataMgmt::TaxReturn* federal,
                                    StateDataMgmt::StateTaxReturn* georgia) {
    ReturnDescriptions descriptions;
    if (federal != nullptr) descriptions.federal = federal->getTaxReturnDesc().get();
    if (georgia != nullptr) descriptions.georgia = georgia->getTaxReturnDesc().get();
    ReturnFileContents contents = read(path, descriptions);
    apply(contents, federal, georgia);
    return contents;
}

void ReturnFile::apply(const ReturnFileContents& contents, DataMgmt::TaxReturn* federal,
                       StateDataMgmt::StateTaxReturn* georgia) {
    if (contents.federal) checkTarget(*contents.federal, federal);
    if (contents.georgia) checkTarget(*contents.georgia, georgia);
    if (contents.federal) {
        applyCopies(*contents.federal, *federal);
        applyFederalSeeds(contents.federal->seeds, *federal);
        // A filing status given only as the Georgia return's item is the
        // federal return's too, as the items derived from it take it.
        if (const std::optional<int> status = statedFilingStatus(contents)) {
            federal->setFilingStatusNumber(static_cast<std::int8_t>(*status));
        }
        federal->clearSaveNeeded();
    }
    if (contents.georgia) {
        applyCopies(*contents.georgia, *georgia);
        if (contents.federal) applyDerivedItems(contents, *georgia);
        applyStateSeeds(contents.georgia->seeds, *georgia);
        georgia->clearSaveNeeded();
    }
    if (contents.host.clock) crt::setClock(*contents.host.clock);
    if (contents.host.randSeed) crt::srand(*contents.host.randSeed);
}

ReturnFileContents ReturnFile::snapshot(DataMgmt::TaxReturn* federal, StateDataMgmt::StateTaxReturn* georgia,
                                        const ReturnFileContents* loaded) {
    ReturnFileContents out;
    if (loaded != nullptr) out.host = loaded->host;
    if (federal != nullptr) {
        const ReturnPart* from = loaded != nullptr && loaded->federal ? &*loaded->federal : nullptr;
        ReturnPart part = snapshotPart(*federal, from);
        ReturnSeeds& s = part.seeds;
        const int status = federal->getFilingStatusNumber();
        if (s.filingStatus || status != 1) s.filingStatus = status;
        if (s.form2555Present || federal->isForm2555Present()) s.form2555Present = federal->isForm2555Present();
        const DataMgmt::SessionPropertiesPtr props = federal->getSessionProperties();
        for (auto it = s.sessionProperties.begin(); it != s.sessionProperties.end();) {
            if (props.isNull() || !props->propertyExists(it->first)) {
                it = s.sessionProperties.erase(it);
            } else {
                it->second = props->getQVInt8Property(it->first);
                ++it;
            }
        }
        out.federal = std::move(part);
    }
    if (georgia != nullptr) {
        const ReturnPart* from = loaded != nullptr && loaded->georgia ? &*loaded->georgia : nullptr;
        ReturnPart part = snapshotPart(*georgia, from);
        ReturnSeeds& s = part.seeds;
        if (s.inElf || georgia->InElf()) s.inElf = georgia->InElf();
        if (s.enabledType || georgia->getEnabledType() != 1) s.enabledType = georgia->getEnabledType();
        if (s.refundCode || !georgia->refundCode().empty()) s.refundCode = georgia->refundCode();
        out.georgia = std::move(part);
    }
    return out;
}

void ReturnFile::save(const std::string& path, DataMgmt::TaxReturn* federal, StateDataMgmt::StateTaxReturn* georgia,
                      const ReturnFileContents* loaded) {
    write(path, snapshot(federal, georgia, loaded));
}

}  // namespace PersistanceMgmt
