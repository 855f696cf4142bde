// What the address text an operator typed is, judged before anything is looked up or connected:
// a text that the system would read as a numeric IPv4 address in another form is refused.
#pragma once

#include <QString>

// What an address text the operator typed is, before anything is looked up or connected.
enum class AddressText {
    DottedQuad, // four decimal parts 0-255 without leading zeros: "127.0.9.10"
    Ipv6,       // a numeric IPv6 address, as QHostAddress reads it: "::1", "::ffff:127.0.0.1" (no brackets, no port)
    HostName,   // letters, digits, hyphens, underscores and dots, not all of it numeric: "radio-van.local"
    Invalid,    // anything else, above all what the system would read as a numeric IPv4 address in another
                // form: "127.1", "0x7f.0.0.1", "2130706433", "127.0.9.012", "127.0.0.256", "1.2.3.4.5"; also
                // empty text, blanks, ';', "a b"
};

// `why` (when not null) gets a short English reason for Invalid, e.g. "leading zero in '012'",
// "not four parts", "'256' is over 255", "hexadecimal part '0x7f'", "not an address or a host name";
// it is emptied for every other result.
AddressText ClassifyAddressText(const QString& text, QString* why = nullptr);

// The address to use for the text the operator typed or pasted: the blanks around it are not
// part of it.
QString AddressToUse(const QString& typed);
