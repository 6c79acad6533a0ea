#pragma once

// A real POP3 server for the mail check tests: Dovecot, run in the
// foreground with a configuration of its own in a temporary folder, serving
// maildirs of given sizes to users of a password file on a free loopback
// port. Nothing of the system's own Dovecot set-up is used. Run as root it
// takes Dovecot's unprivileged service users and gives the mail to
// "nobody"; run as any other user it runs every process as that user.
#include "tests/support/LoopbackServer.h"
#include "tests/support/TempDir.h"

#include <grp.h>
#include <pwd.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

namespace dotvane::test {

class DovecotServer {
public:
    struct Account {
        std::string user;
        std::string password;
        int messages;
    };

    explicit DovecotServer(const std::vector<Account>& accounts) : port_(UnusedLoopbackPort())
    {
        const std::filesystem::path root = folder_.Path();
        uid_t mailUid = ::geteuid();
        gid_t mailGid = ::getegid();
        std::string loginUser;
        std::string internalUser;
        std::string internalGroup;
        if (mailUid == 0) {
            const passwd* nobody = ::getpwnam("nobody");
            if (nobody == nullptr) throw std::runtime_error("no user 'nobody'");
            mailUid = nobody->pw_uid;
            mailGid = nobody->pw_gid;
            loginUser = "dovenull";
            internalUser = "dovecot";
            internalGroup = "dovecot";
        } else {
            loginUser = internalUser = ::getpwuid(mailUid)->pw_name;
            internalGroup = ::getgrgid(mailGid)->gr_name;
        }

        std::ostringstream users;
        for (const Account& account : accounts) {
            const std::filesystem::path home = root / "mail" / account.user;
            for (const char* sub : {"new", "cur", "tmp"}) std::filesystem::create_directories(home / sub);
            for (int i = 0; i < account.messages; ++i) {
                std::ofstream(home / "new" / ("100" + std::to_string(i) + ".M1P1.dotvane"), std::ios::binary)
                    << "From: sender@example.org\r\nSubject: message " << i << "\r\n\r\nHello.\r\n";
            }
            users << account.user << ":{PLAIN}" << account.password << ":" << mailUid << ":" << mailGid << "::"
                  << home.string() << "::\n";
        }
        std::filesystem::create_directories(root / "mail");
        for (const auto& entry : std::filesystem::recursive_directory_iterator(root / "mail"))
            (void)::chown(entry.path().c_str(), mailUid, mailGid);
        (void)::chown((root / "mail").c_str(), mailUid, mailGid);
        folder_.Write("passwd", users.str());

        const std::string r = root.string();
        std::ostringstream conf;
        conf << "base_dir = " << r << "/run\n"
             << "state_dir = " << r << "/state\n"
             << "log_path = " << r << "/dovecot.log\n"
             << "protocols = pop3\n"
             << "listen = 127.0.0.1\n"
             << "ssl = no\n"
             << "disable_plaintext_auth = no\n"
             << "auth_mechanisms = plain\n"
             << "auth_failure_delay = 0\n"
             << "default_login_user = " << loginUser << "\n"
             << "default_internal_user = " << internalUser << "\n"
             << "default_internal_group = " << internalGroup << "\n"
             << "first_valid_uid = 1\n"
             << "mail_location = maildir:" << r << "/mail/%u\n"
             << "passdb {\n  driver = passwd-file\n  args = scheme=PLAIN username_format=%u " << r << "/passwd\n}\n"
             << "userdb {\n  driver = passwd-file\n  args = username_format=%u " << r << "/passwd\n}\n"
             << "service pop3-login {\n  chroot =\n  inet_listener pop3 {\n    port = " << port_ << "\n  }\n}\n"
             << "service imap-login {\n  chroot =\n}\n"
             // No growing delay after the deliberately failed logins.
             << "service anvil {\n  chroot =\n  unix_listener anvil-auth-penalty {\n    mode = 0\n  }\n}\n";
        const std::string confFile = folder_.Write("dovecot.conf", conf.str()).string();

        pid_ = ::fork();
        if (pid_ == 0) {
            ::execlp("dovecot", "dovecot", "-F", "-c", confFile.c_str(), static_cast<char*>(nullptr));
            ::_exit(127);
        }
        if (pid_ < 0) throw std::runtime_error("cannot start dovecot");
        WaitUntilListening();
    }

    ~DovecotServer()
    {
        if (pid_ > 0) {
            ::kill(pid_, SIGTERM);
            int status = 0;
            ::waitpid(pid_, &status, 0);
        }
    }

    DovecotServer(const DovecotServer&) = delete;
    DovecotServer& operator=(const DovecotServer&) = delete;

    uint16_t Port() const { return port_; }

    std::string Log() const
    {
        std::ifstream in(folder_.Path() / "dovecot.log");
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

private:
    // Polls until the POP3 port takes connections (Dovecot starts in well
    // under a second); fails when Dovecot exits or takes too long.
    void WaitUntilListening()
    {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(15);
        while (std::chrono::steady_clock::now() < deadline) {
            int status = 0;
            if (::waitpid(pid_, &status, WNOHANG) == pid_) {
                pid_ = -1;
                throw std::runtime_error("dovecot exited at start: " + Log());
            }
            const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
            sockaddr_in address{};
            address.sin_family = AF_INET;
            address.sin_port = htons(port_);
            address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
            const bool listening = ::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
            ::close(fd);
            if (listening) return;
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        throw std::runtime_error("dovecot did not start listening: " + Log());
    }

    TempDir folder_;
    uint16_t port_;
    pid_t pid_ = -1;
};

}  // namespace dotvane::test
