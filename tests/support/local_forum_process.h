// Starts the project's local forum server (tools/local-forum) on a free
// loopback port with a fresh database in its own temporary folder, for
// end-to-end tests. The server is stopped when the object goes away.
//
//   qtest::LocalForumProcess forum;            // or ({"--only-post-body", "fallback"})
//   ASSERT_TRUE(forum.ok()) << forum.error();
//   httplib::Client http(forum.host(), forum.port());
//
// Seeded accounts: LocalForumProcess::kUserMobile / kUserPassword etc.
#pragma once

#include "support/temp_dir.h"

#include <string>
#include <sys/types.h>
#include <vector>

namespace qtest {

class LocalForumProcess {
public:
    // Extra command-line options (strict modes, faults) go in `extraArgs`.
    // Seed media are generated once per build folder and reused.
    explicit LocalForumProcess(std::vector<std::string> extraArgs = {});
    ~LocalForumProcess();
    LocalForumProcess(const LocalForumProcess&) = delete;
    LocalForumProcess& operator=(const LocalForumProcess&) = delete;

    bool ok() const { return port_ > 0; }
    const std::string& error() const { return error_; }
    std::string host() const { return "127.0.0.1"; }
    int port() const { return port_; }
    std::string baseUrl() const;          // "http://127.0.0.1:PORT"
    const std::string& filesDir() const { return filesDir_; }

    // Everything the server printed so far (request log, verification codes).
    std::string log() const;
    // The last verification code the server printed for `mobile`, or empty.
    std::string LastVerifyCode(const std::string& mobile) const;

    // Stops the server (SIGTERM, then SIGKILL after 3 s); safe to repeat.
    void Stop();

    // The server binary of this build folder.
    static std::string BinaryPath();

    // Seeded accounts.
    static constexpr const char* kUserMobile = "13800000001";      // 小澄同学, ordinary member
    static constexpr const char* kUserPassword = "user123";
    static constexpr const char* kAuthorMobile = "13800000002";    // 澄川琴师, writes the media post
    static constexpr const char* kAuthorPassword = "author123";
    static constexpr const char* kManagerMobile = "13800000003";   // 版主阿澄, manages 2014, 1, 2, 3, 5
    static constexpr const char* kManagerPassword = "manager123";
    static constexpr const char* kAdminMobile = "13800000004";     // 澄川站长, site administrator
    static constexpr const char* kAdminPassword = "admin123";

private:
    TempDir dir_;
    std::string logPath_, filesDir_, error_;
    pid_t pid_ = -1;
    int port_ = 0;
};

}  // namespace qtest
