#include "server/RequestFramer.h"

#include <QCoreApplication>

namespace {

// The characters of a method or a header field's name (RFC 9110 tchar).
bool isTokenChar(char c)
{
    if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'))
        return true;
    return QByteArrayView("!#$%&'*+-.^_`|~").contains(c);
}

bool isToken(QByteArrayView text)
{
    if (text.isEmpty())
        return false;
    for (const char c : text)
        if (!isTokenChar(c))
            return false;
    return true;
}

// What the library skips before a request line.
bool isLeadingSpace(char c)
{
    return c == '\v' || c == '\n' || c == '\r' || c == ' ' || c == '\t';
}

} // namespace

void RequestFramer::refuse(int status, const char* code, const QString& message)
{
    if (!m_refusal)
        m_refusal = Refusal{status, code, message};
}

qsizetype RequestFramer::feed(QByteArrayView bytes)
{
    qsizetype at = 0;
    while (at < bytes.size() && !m_refusal) {
        if (m_stage == Stage::Between) {
            if (isLeadingSpace(bytes[at])) {
                ++at;
                continue;
            }
            m_stage = Stage::RequestLine;
            m_line.clear();
            m_header.clear();
            m_method.clear();
            m_target.clear();
            m_close = false;
            m_hostSeen = false;
        }
        if (m_stage == Stage::Body) {
            const qint64 take = std::min<qint64>(m_bodyLeft, bytes.size() - at);
            at += take;
            m_bodyLeft -= take;
            if (m_bodyLeft == 0) {
                m_stage = Stage::Between;
                ++m_completed;
                return at;
            }
            continue;
        }
        const char c = bytes[at++];
        if (m_line.size() + m_header.size() >= MaxHeadBytes) {
            if (m_stage == Stage::RequestLine)
                refuse(414, "uri-too-long",
                       QCoreApplication::translate("Server", "リクエストのアドレスが長すぎます。"));
            else
                refuse(
                    431, "header-too-large",
                    QCoreApplication::translate("Server", "リクエストのヘッダーが大きすぎます。"));
            break;
        }
        if (m_stage == Stage::RequestLine) {
            if (c != '\n') {
                m_line += c;
                continue;
            }
            endOfRequestLine();
            continue;
        }
        m_header += c;
        if (c == '\n' && (m_header.endsWith("\n\r\n") || m_header.endsWith("\n\n") ||
                          m_header == "\r\n" || m_header == "\n")) {
            endOfHead();
            if (m_stage == Stage::Between)
                return at;
        }
    }
    return at;
}

void RequestFramer::endOfRequestLine()
{
    if (m_line.endsWith('\r'))
        m_line.chop(1);
    // METHOD SP /target SP HTTP/1.x, nothing else.
    const QList<QByteArray> parts = m_line.split(' ');
    const bool versionKnown =
        parts.size() == 3 && (parts[2] == "HTTP/1.1" || parts[2] == "HTTP/1.0");
    if (parts.size() == 3 && parts[1].size() > MaxTargetBytes) {
        refuse(414, "uri-too-long",
               QCoreApplication::translate("Server", "リクエストのアドレスが長すぎます。"));
        return;
    }
    bool plainTarget = parts.size() == 3 && parts[1].startsWith('/');
    for (const char c : parts.value(1))
        plainTarget = plainTarget && c > 0x20 && c < 0x7f;
    if (!versionKnown || parts[0].size() > 32 || !isToken(parts[0]) || !plainTarget) {
        refuse(400, "bad-request",
               QCoreApplication::translate("Server", "リクエスト行が正しくありません。"));
        return;
    }
    m_method = parts[0];
    m_target = parts[1];
    m_http10 = parts[2] == "HTTP/1.0";
    m_stage = Stage::Header;
}

bool RequestFramer::readHeaderLine(QByteArrayView line, qint64& contentLength, bool& keepAlive)
{
    const qsizetype colon = line.indexOf(':');
    if (colon <= 0 || !isToken(line.first(colon)))
        return false;
    const QByteArray name = line.first(colon).toByteArray().toLower();
    const QByteArray value = line.sliced(colon + 1).toByteArray().trimmed();
    for (const char c : value) {
        const auto u = static_cast<unsigned char>(c);
        if ((u < 0x20 && c != '\t') || u == 0x7f)
            return false;
    }
    if (name == "content-length") {
        bool digits = !value.isEmpty() && value.size() <= 15;
        for (const char c : value)
            digits = digits && c >= '0' && c <= '9';
        if (!digits || (contentLength >= 0 && contentLength != value.toLongLong())) {
            refuse(400, "bad-request",
                   QCoreApplication::translate("Server", "Content-Length が正しくありません。"));
            return true;
        }
        contentLength = value.toLongLong();
    } else if (name == "host") {
        // Two hosts: which one the request is for is anybody's guess.
        if (m_hostSeen)
            refuse(400, "bad-request",
                   QCoreApplication::translate("Server", "Host が二つあります。"));
        m_hostSeen = true;
    } else if (name == "transfer-encoding") {
        refuse(411, "length-required",
               QCoreApplication::translate(
                   "Server",
                   "本文の長さ（Content-Length）が必要です。チャンク転送は受け付けません。"));
    } else if (name == "connection") {
        for (const QByteArray& option : value.toLower().split(',')) {
            if (option.trimmed() == "close")
                m_close = true;
            else if (option.trimmed() == "keep-alive")
                keepAlive = true;
        }
    }
    return true;
}

void RequestFramer::endOfHead()
{
    qint64 contentLength = -1;
    bool keepAlive = false;
    for (QByteArray line : m_header.split('\n')) {
        if (line.endsWith('\r'))
            line.chop(1);
        if (line.isEmpty())
            continue;
        if (!readHeaderLine(line, contentLength, keepAlive)) {
            refuse(400, "bad-request",
                   QCoreApplication::translate("Server", "ヘッダー行が正しくありません。"));
            return;
        }
        if (m_refusal)
            return;
    }
    if (m_http10 && !keepAlive)
        m_close = true;
    if (contentLength > MaxBodyBytes) {
        refuse(413, "payload-too-large",
               QCoreApplication::translate(
                   "Server", "本文が大きすぎます（%1 バイト）。1 MiB（1048576 バイト）までです。")
                   .arg(contentLength));
        return;
    }
    m_bodyLeft = std::max<qint64>(0, contentLength);
    m_stage = m_bodyLeft > 0 ? Stage::Body : Stage::Between;
    if (m_stage == Stage::Between)
        ++m_completed;
}
