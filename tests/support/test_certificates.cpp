#include "support/test_certificates.h"

#include <cstdlib>

namespace qtest {
namespace {

const char kNewKey[] = "openssl req -x509 -newkey ec -pkeyopt ec_paramgen_curve:prime256v1 -nodes -days 2 ";

bool Run(const std::string& command) { return std::system((command + " 2>/dev/null").c_str()) == 0; }

}  // namespace

TestCertificates::TestCertificates()
{
    const std::string d = "'" + dir_.path() + "/";
    if (!Run(kNewKey + std::string("-subj /CN=quillery-test-ca -keyout ") + d + "ca.key' -out " + d +
             "ca.pem'")) {
        error_ = "openssl could not make the test authority (is openssl installed?)";
        return;
    }
    if (!Make("loopback", "IP:127.0.0.1", forLoopback)) return;
    Make("other", "DNS:other.example", forOtherHost);
}

bool TestCertificates::Make(const std::string& name, const std::string& subjectAltName, Pair& out)
{
    const std::string d = "'" + dir_.path() + "/";
    out = Pair{dir_.file(name + ".pem"), dir_.file(name + ".key")};
    if (Run(kNewKey + std::string("-subj /CN=") + name + " -addext subjectAltName=" + subjectAltName +
            " -addext basicConstraints=critical,CA:FALSE -CA " + d + "ca.pem' -CAkey " + d +
            "ca.key' -keyout " + d + name + ".key' -out " + d + name + ".pem'")) {
        return true;
    }
    error_ = "openssl could not make the certificate " + name;
    return false;
}

std::vector<std::string> TestCertificates::ServerArgs(const Pair& pair)
{
    return {"--tls-cert", pair.cert, "--tls-key", pair.key};
}

}  // namespace qtest
