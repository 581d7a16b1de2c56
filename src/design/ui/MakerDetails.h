// The maker's contact details the About box shows. They are configuration:
// change them here for another maker.
#pragma once

namespace vantrep::design::ui {

struct MakerDetails {
    static constexpr const char* postalAddress = "Quorvel Media Systems, 14 Harbour Street, Port Elm";
    static constexpr const char* telephoneAndFax = "Tel: +1 555 0100 20   Fax: +1 555 0100 21";
    static constexpr const char* email = "E-mail: support@quorvel.example";
    static constexpr const char* webAddress = "https://www.quorvel.example/";
};

}  // namespace vantrep::design::ui
