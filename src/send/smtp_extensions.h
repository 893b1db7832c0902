// What an SMTP server says it can do, read from its EHLO reply (RFC 5321): the upgrade to TLS
// (RFC 3207) and the login mechanisms this program speaks (RFC 4954).
#pragma once

#include <string>
#include <vector>

namespace quorlet {

struct SmtpExtensions {
    bool startTls = false;
    bool authPlain = false;
    bool authLogin = false;
};

// `lines`: the text of each reply line after its code and separator. The first line names the
// server and is no extension. Keywords are compared without regard to case; "AUTH=LOGIN", as
// servers from before the standard write it, counts as "AUTH LOGIN".
SmtpExtensions ParseEhloReply(const std::vector<std::string>& lines);

}  // namespace quorlet
