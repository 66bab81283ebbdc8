#include "host/InterviewPrintout.h"

#include <filesystem>
#include <memory>

#include "host/SettleReturn.h"
#include "platform/Exceptions.h"
#include "platform/framework/CalcEngine.h"
#include "platform/framework/TaxFormPrinter.h"

namespace GAHost {

namespace {

// The topic and every topic under it.
std::size_t countTopics(const TopicMgmt::TopicDesc& topic) {
    std::size_t n = 1;
    for (const auto& child : topic.getChildren()) n += countTopics(*child);
    return n;
}

void printTopic(std::ostream& out, TopicMgmt::TopicDesc& topic, int depth) {
    out << std::string(2 * depth, ' ') << topic.getKey() << " \"" << topic.getTitle() << "\" status "
        << static_cast<int>(topic.getTopicStatus()) << '\n';
    for (const auto& child : topic.getChildren()) printTopic(out, *child, depth + 1);
}

struct TopicListDeleter {
    void operator()(std::vector<TopicMgmt::TopicDesc*>* topics) const { TopicMgmt::deleteTopicList(topics); }
};

}  // namespace

void printTopicTree(std::ostream& out, const std::vector<TopicMgmt::TopicDesc*>& topics) {
    std::size_t all = 0;
    for (const TopicMgmt::TopicDesc* topic : topics) all += countTopics(*topic);
    out << "Georgia interview: " << topics.size() << " top-level topics, " << all << " in all\n";
    for (TopicMgmt::TopicDesc* topic : topics) printTopic(out, *topic, 1);
}

void printExpansions(std::ostream& out, MacroExpansionMgmt::MacroExpander& expander) {
    out << "Georgia macros:\n";
    for (const MacroExpansionMgmt::Expansion& e : MacroExpansionMgmt::expansions()) {
        // A text of several lines continues indented under its name.
        std::string text = (expander.*e.expand)();
        for (std::size_t at = text.find('\n'); at != std::string::npos; at = text.find('\n', at + 1)) {
            text.insert(at + 1, "    ");
        }
        out << "  " << e.name << ": " << (text.empty() ? "(empty)" : text) << '\n';
    }
}

void runInterview(std::ostream& out, const ModuleLoader& module, const std::string& formsDir,
                  const std::string& returnFile) {
    HostSession session(formsDir);
    session.openReturns(&module);
    session.load(returnFile);

    // The statuses read the calculated return.
    ModuleCalculation calculation(module, session, std::filesystem::path(returnFile).stem().string());
    reportCalculation(out, calculation.settle());

    {
        const std::unique_ptr<std::vector<TopicMgmt::TopicDesc*>, TopicListDeleter> topics(
            module.createInterviewHierarchy()(session.store()));
        if (topics == nullptr) {
            throw Exceptions::QuarloException("the Georgia module built no interview", "InterviewPrintout",
                                              "runInterview");
        }
        printTopicTree(out, *topics);
    }
    const std::unique_ptr<MacroExpansionMgmt::MacroExpander> expander(
        module.createMacroExpanderInstance()(session.federal(), session.georgia()));
    if (expander == nullptr) {
        throw Exceptions::QuarloException("the Georgia module built no macro expander", "InterviewPrintout",
                                          "runInterview");
    }
    printExpansions(out, *expander);
}

}  // namespace GAHost
