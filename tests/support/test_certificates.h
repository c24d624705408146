// A throwaway certificate authority and server certificates, made at run
// time with the openssl command in a temporary folder, for HTTPS tests.
//
//   qtest::TestCertificates certs;
//   ASSERT_TRUE(certs.ok()) << certs.error();
//   qtest::LocalForumProcess forum(certs.ServerArgs(certs.forLoopback));
//   ... endpoint.caFile = certs.caFile() ...
#pragma once

#include "support/temp_dir.h"

#include <string>
#include <vector>

namespace qtest {

class TestCertificates {
public:
    struct Pair {
        std::string cert;
        std::string key;
    };

    TestCertificates();

    bool ok() const { return error_.empty(); }
    const std::string& error() const { return error_; }
    // The authority's certificate (PEM): the client's caFile.
    std::string caFile() const { return dir_.file("ca.pem"); }
    // Signed by the authority: one for 127.0.0.1, one for another host name.
    Pair forLoopback;
    Pair forOtherHost;

    // "--tls-cert", cert, "--tls-key", key: the local forum's options.
    static std::vector<std::string> ServerArgs(const Pair& pair);

private:
    bool Make(const std::string& name, const std::string& subjectAltName, Pair& out);

    TempDir dir_;
    std::string error_;
};

}  // namespace qtest
