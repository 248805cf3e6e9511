// trust_root.exe PEM-FILE: adds every certificate of the PEM file to the
// machine's trusted root store (local machine, "Root"), as an administrator
// deploying a company authority would. The test run and the demo trust their
// freshly made test authority with it. Exit code 0 when every certificate
// was added (or was there already).
#include <windows.h>
#include <wincrypt.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

constexpr char kBegin[] = "-----BEGIN CERTIFICATE-----";
constexpr char kEnd[] = "-----END CERTIFICATE-----";

std::vector<std::vector<BYTE>> certificatesIn(const std::string& pem) {
    std::vector<std::vector<BYTE>> found;
    for (size_t begin = pem.find(kBegin); begin != std::string::npos; begin = pem.find(kBegin, begin + 1)) {
        const size_t end = pem.find(kEnd, begin);
        if (end == std::string::npos) break;
        const std::string block = pem.substr(begin, end + sizeof kEnd - 1 - begin);
        DWORD bytes = 0;
        if (!CryptStringToBinaryA(block.data(), static_cast<DWORD>(block.size()), CRYPT_STRING_BASE64HEADER, nullptr,
                                  &bytes, nullptr, nullptr))
            continue;
        std::vector<BYTE> der(bytes);
        if (CryptStringToBinaryA(block.data(), static_cast<DWORD>(block.size()), CRYPT_STRING_BASE64HEADER,
                                 der.data(), &bytes, nullptr, nullptr)) {
            der.resize(bytes);
            found.push_back(std::move(der));
        }
    }
    return found;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: trust_root.exe PEM-FILE\n");
        return 2;
    }
    std::ifstream in(argv[1], std::ios::binary);
    const std::string pem((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const auto certificates = certificatesIn(pem);
    if (certificates.empty()) {
        std::fprintf(stderr, "trust_root: no certificate in %ls\n", argv[1]);
        return 1;
    }
    HCERTSTORE root = CertOpenStore(CERT_STORE_PROV_SYSTEM_W, 0, 0, CERT_SYSTEM_STORE_LOCAL_MACHINE, L"Root");
    if (!root) {
        std::fprintf(stderr, "trust_root: cannot open the machine's root store (error %lu)\n", GetLastError());
        return 1;
    }
    int failed = 0;
    for (const auto& der : certificates) {
        if (!CertAddEncodedCertificateToStore(root, X509_ASN_ENCODING, der.data(), static_cast<DWORD>(der.size()),
                                              CERT_STORE_ADD_REPLACE_EXISTING, nullptr)) {
            std::fprintf(stderr, "trust_root: a certificate was not added (error %lu)\n", GetLastError());
            ++failed;
        }
    }
    CertCloseStore(root, 0);
    std::printf("trust_root: %zu certificate(s) of %ls trusted\n", certificates.size() - failed, argv[1]);
    return failed == 0 ? 0 : 1;
}
