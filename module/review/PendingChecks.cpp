// Checks whose rules are not built yet: each reports nothing. They are
// called in their places so that the order of the review is already the
// final one.

#include "module/review/GATaxFormAuditor.h"

namespace StateAuditMgmt {

void StateTaxFormAuditor::auditResidencyAddress(const std::string&, TopicID, bool, const FormID&, const FieldID&,
                                                const FieldID&, const FieldID&) {}
void StateTaxFormAuditor::auditDirectDeposit(const std::string&, TopicID, bool, const FormID&, int, bool, FieldID,
                                             FieldID, FieldID, FieldID, FieldID, FieldID, FieldID, FieldID, FieldID,
                                             FieldID) {}
void StateTaxFormAuditor::auditForm1099GPayer(const std::string&, TopicID, bool, std::uint16_t) {}
void StateTaxFormAuditor::auditCareOf(const std::string&, TopicID, bool, int) {}
void StateTaxFormAuditor::checkBalanceDuePayment(int) {}
void StateTaxFormAuditor::auditMissingStateInfo(int) {}
void StateTaxFormAuditor::auditNonFinalForms(std::span<const FormID>) {}
void StateTaxFormAuditor::auditDriverLicense(const std::string&, TopicID, bool, const FormID&, int,
                                             const FilerLicenseFields&, const FilerLicenseFields&) {}
void StateTaxFormAuditor::auditForm1099GEFile(const std::string&, TopicID, bool, bool, int, int, int, int) {}
void StateTaxFormAuditor::auditStateWageData(const std::string&, TopicID, bool, const FormID&, std::uint16_t, bool) {}
void StateTaxFormAuditor::appendForm1099GHelp(const std::string&, TopicID, bool, int, bool, char, const FormID&,
                                              std::uint16_t, FieldID, const std::string&, int) {}

}  // namespace StateAuditMgmt

namespace GAAuditMgmt {

void GATaxFormAuditor::auditWithholdingQuarters(DataMgmt::TaxFormPtr, std::uint16_t) {}
void GATaxFormAuditor::auditAmendedReturn(DataMgmt::TaxFormPtr, std::uint16_t) {}
void GATaxFormAuditor::auditQeeCredit(DataMgmt::TaxFormPtr, std::uint16_t) {}
void GATaxFormAuditor::auditDonationAddBack(DataMgmt::TaxFormPtr, std::uint16_t) {}
void GATaxFormAuditor::auditAdjustments(DataMgmt::TaxFormPtr, std::uint16_t) {}
void GATaxFormAuditor::auditPassThroughCredits(DataMgmt::TaxFormPtr, std::uint16_t) {}
void GATaxFormAuditor::auditNonresidentIncome(DataMgmt::TaxFormPtr, std::uint16_t) {}
void GATaxFormAuditor::auditOtherStateCredit(DataMgmt::TaxFormPtr, std::uint16_t) {}
void GATaxFormAuditor::auditIndCr201(DataMgmt::TaxFormPtr, std::uint16_t) {}
void GATaxFormAuditor::auditIndCr202(DataMgmt::TaxFormPtr, std::uint16_t) {}
void GATaxFormAuditor::auditIndCr203(DataMgmt::TaxFormPtr, std::uint16_t) {}
void GATaxFormAuditor::auditIndCr204(DataMgmt::TaxFormPtr, std::uint16_t) {}
void GATaxFormAuditor::auditIndCr205(DataMgmt::TaxFormPtr, std::uint16_t) {}
void GATaxFormAuditor::auditIndCr206(DataMgmt::TaxFormPtr, std::uint16_t) {}
void GATaxFormAuditor::auditIndCr207(DataMgmt::TaxFormPtr, std::uint16_t) {}
void GATaxFormAuditor::auditIndCr208(DataMgmt::TaxFormPtr, std::uint16_t) {}
void GATaxFormAuditor::auditIndCr209(DataMgmt::TaxFormPtr, std::uint16_t) {}

}  // namespace GAAuditMgmt
