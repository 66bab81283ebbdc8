// Runs gahost as a subprocess and captures what it prints.
#pragma once

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

extern char** environ;

namespace testsupport {

struct GahostResult {
    int status = -1;  // exit status, or 128 + the signal that ended it
    std::string out;
    std::string err;
};

// Gives a process started while it lives a limit on the size of the files
// it writes: a write past it fails (EFBIG, as on a full disk) instead of
// ending the process. Soft limits are this process's to raise again.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        if (bytes == 0) return;
        active_ = ::getrlimit(RLIMIT_FSIZE, &previous_) == 0;
        rlimit limited = previous_;
        limited.rlim_cur = bytes;
        active_ = active_ && ::setrlimit(RLIMIT_FSIZE, &limited) == 0;
        previousSignal_ = ::signal(SIGXFSZ, SIG_IGN);
    }
    ~FileSizeLimit() {
        if (!active_) return;
        ::setrlimit(RLIMIT_FSIZE, &previous_);
        ::signal(SIGXFSZ, previousSignal_);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    bool active_ = false;
    rlimit previous_{};
    sighandler_t previousSignal_ = SIG_DFL;
};

// Runs gahost with the arguments in workDir (empty: this process's working
// directory). The environment is this process's without GA_MODULE_PATH and
// GA_FORMS_DIR, plus `env`. Standard output and error pass through two files
// of captureDir, removed afterwards. A fileSizeLimit above 0 limits the size
// of every file gahost writes (FileSizeLimit). A stdoutPath gives standard
// output that file instead ("/dev/full"), "-" closes it, or "|" makes it a
// pipe whose reader closed before gahost starts; out is then empty. gahost
// starts with SIGPIPE at its default, whatever this process does with it.
inline GahostResult runGahost(const std::vector<std::string>& args, const std::vector<std::string>& env,
                              const std::string& captureDir, const std::string& workDir = {}, rlim_t fileSizeLimit = 0,
                              const std::string& stdoutPath = {}) {
    std::vector<std::string> argStore = {GAHOST_PATH};
    argStore.insert(argStore.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (auto& a : argStore) argv.push_back(a.data());
    argv.push_back(nullptr);

    std::vector<std::string> envStore;
    for (char** e = environ; *e != nullptr; ++e) {
        const std::string kv = *e;
        if (kv.rfind("GA_MODULE_PATH=", 0) == 0 || kv.rfind("GA_FORMS_DIR=", 0) == 0) continue;
        envStore.push_back(kv);
    }
    envStore.insert(envStore.end(), env.begin(), env.end());
    std::vector<char*> envp;
    for (auto& e : envStore) envp.push_back(e.data());
    envp.push_back(nullptr);

    const std::string outPath = captureDir + "/.stdout";
    const std::string errPath = captureDir + "/.stderr";
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    int pipeEnds[2] = {-1, -1};
    if (stdoutPath == "-") {
        posix_spawn_file_actions_addclose(&actions, 1);
    } else if (stdoutPath == "|") {
        if (::pipe2(pipeEnds, O_CLOEXEC) != 0) ADD_FAILURE() << "cannot make a pipe: " << std::strerror(errno);
        ::close(pipeEnds[0]);
        posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], 1);
    } else {
        const std::string& out = stdoutPath.empty() ? outPath : stdoutPath;
        posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    }
    posix_spawn_file_actions_addopen(&actions, 2, errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (!workDir.empty()) posix_spawn_file_actions_addchdir_np(&actions, workDir.c_str());
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t defaults;
    sigemptyset(&defaults);
    sigaddset(&defaults, SIGPIPE);
    posix_spawnattr_setsigdefault(&attributes, &defaults);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGDEF);
    pid_t pid = 0;
    GahostResult r;
    int rc = 0;
    {
        const FileSizeLimit limit(fileSizeLimit);
        rc = ::posix_spawn(&pid, GAHOST_PATH, &actions, &attributes, argv.data(), envp.data());
    }
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&actions);
    if (pipeEnds[1] >= 0) ::close(pipeEnds[1]);
    if (rc != 0) {
        ADD_FAILURE() << "cannot start gahost: " << std::strerror(rc);
        return r;
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    r.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    auto slurp = [](const std::string& p) {
        std::ifstream in(p, std::ios::binary);
        std::ostringstream ss;
        ss << in.rdbuf();
        return ss.str();
    };
    r.out = slurp(outPath);
    r.err = slurp(errPath);
    std::filesystem::remove(outPath);
    std::filesystem::remove(errPath);
    return r;
}

// A run of the example that meets a file-size limit at its e-file and at no
// file written before it: the run is given a federal e-file whose data
// block, which the e-file ends with, outweighs every other output (64 kB),
// and the limit is one byte short of the e-file that a run with it writes
// into captureDir/sizes (removed afterwards). The e-file's preparation,
// written first, lacks the PDF sections, and is smaller.
struct EFileSizeLimit {
    std::vector<std::string> options;  // of gahost run: the federal e-file
    rlim_t limit;
};

inline EFileSizeLimit eFileSizeLimit(const std::string& example, const std::string& captureDir) {
    namespace fs = std::filesystem;
    std::string block = "D FDF1040    001 X T  \r\n";
    while (block.size() < 65536) block += "00010.000 001 " + std::string(64, 'F') + "\r\n";
    const std::string federal = captureDir + "/federal-efile-of-size.txt";
    std::ofstream(federal, std::ios::binary) << "H FED\r\n" << block;
    const std::string out = captureDir + "/sizes";
    const GahostResult r = runGahost({"run", example, "--out", out, "--federal-efile", federal}, {}, captureDir);
    EXPECT_EQ(r.status, 0) << r.err;
    const auto efile = fs::file_size(out + "/GA-efile.txt");
    for (const auto& output : fs::directory_iterator(out)) {
        EXPECT_TRUE(output.path().filename() == "GA-efile.txt" || output.file_size() < efile - 1) << output.path();
    }
    fs::remove_all(out);
    return {{"--federal-efile", federal}, static_cast<rlim_t>(efile - 1)};
}

}  // namespace testsupport
