#include "module/autotest/TestFiles.h"

#include "platform/util/IOMgmt.h"

namespace StateCalculationMgmt {

std::vector<std::string> readTestFileLines(const std::string& path) {
    std::vector<std::string> lines;
    IOMgmt::IOMgr& io = IOMgmt::IOMgr::getInstance();
    IOMgmt::FileReader* reader = io.allocateFileReader();
    if (reader->open(IOMgmt::FileNamePtr(new IOMgmt::FileName(path)))) {
        std::string line;
        while (!reader->eof()) {
            reader->readLine(line);
            lines.push_back(line);
        }
    }
    reader->close();
    io.deallocateFileReader(reader);
    return lines;
}

}  // namespace StateCalculationMgmt
