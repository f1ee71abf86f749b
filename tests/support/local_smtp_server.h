// A small SMTP server on 127.0.0.1 for the tests of the program's mail: it takes one mail per
// connection and keeps what the client said. With a password set it offers AUTH LOGIN and
// refuses any other password.
#pragma once

#include <QByteArray>
#include <cctype>
#include <mutex>
#include <string>
#include <vector>

#include "support/loopback_server.h"

namespace meldora::test {

struct ReceivedMail {
    std::string from;                // the address of MAIL FROM
    std::vector<std::string> to;     // the addresses of RCPT TO
    std::string data;                // the message, headers and body, as sent
};

class LocalSmtpServer : public LoopbackServer {
public:
    explicit LocalSmtpServer(std::string password = {}) : password_(std::move(password))
    {
        Start([this](int client) { talk(client); });
    }
    ~LocalSmtpServer() { Stop(); }

    // "127.0.0.1:port", as typed into the form's server field.
    std::string HostAndPort() const { return "127.0.0.1:" + std::to_string(Port()); }

    std::vector<ReceivedMail> Mails() const
    {
        std::lock_guard lock(mutex_);
        return mails_;
    }

private:
    bool readLine(int client, std::string& line)
    {
        line.clear();
        while (!Stopping()) {
            const std::size_t end = pending_.find("\r\n");
            if (end != std::string::npos) {
                line = pending_.substr(0, end);
                pending_.erase(0, end + 2);
                return true;
            }
            pollfd readable{client, POLLIN, 0};
            if (poll(&readable, 1, 50) <= 0)
                continue;
            char buffer[1024];
            const ssize_t got = recv(client, buffer, sizeof buffer, 0);
            if (got <= 0)
                return false;
            pending_.append(buffer, static_cast<std::size_t>(got));
        }
        return false;
    }

    static void say(int client, const std::string& reply)
    {
        const std::string line = reply + "\r\n";
        send(client, line.data(), line.size(), MSG_NOSIGNAL);
    }

    static std::string upper(std::string text)
    {
        for (char& c : text)
            c = static_cast<char>(toupper(static_cast<unsigned char>(c)));
        return text;
    }

    // The address between the angle brackets of MAIL FROM / RCPT TO.
    static std::string address(const std::string& line)
    {
        const std::size_t open = line.find('<');
        const std::size_t close = line.find('>', open);
        return open == std::string::npos || close == std::string::npos ? line : line.substr(open + 1, close - open - 1);
    }

    void talk(int client)
    {
        pending_.clear();
        ReceivedMail mail;
        say(client, "220 localhost test mail server");
        std::string line;
        while (readLine(client, line)) {
            const std::string command = upper(line.substr(0, 4));
            if (command == "EHLO") {
                say(client, password_.empty() ? "250 localhost" : "250-localhost\r\n250 AUTH LOGIN");
            } else if (command == "AUTH") {
                say(client, acceptsAuth(client, line) ? "235 accepted" : "535 authentication failed");
            } else if (command == "MAIL") {
                mail.from = address(line);
                say(client, "250 ok");
            } else if (command == "RCPT") {
                mail.to.push_back(address(line));
                say(client, "250 ok");
            } else if (command == "DATA") {
                say(client, "354 go ahead");
                while (readLine(client, line) && line != ".")
                    mail.data += line + "\r\n";
                {
                    std::lock_guard lock(mutex_);
                    mails_.push_back(mail);
                }
                say(client, "250 queued");
            } else if (command == "QUIT") {
                say(client, "221 bye");
                return;
            } else {
                say(client, "250 ok");
            }
        }
    }

    // AUTH LOGIN asks for the user and the password in turn, each in base 64.
    bool acceptsAuth(int client, const std::string& line)
    {
        if (upper(line).rfind("AUTH LOGIN", 0) != 0)
            return false;
        std::string user, answer;
        say(client, "334 VXNlcm5hbWU6");
        readLine(client, user);
        say(client, "334 UGFzc3dvcmQ6");
        readLine(client, answer);
        return answer == QByteArray::fromStdString(password_).toBase64().toStdString();
    }

    std::string password_;
    std::string pending_;
    mutable std::mutex mutex_;
    std::vector<ReceivedMail> mails_;
};

}  // namespace meldora::test
