#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <optional>

// Follows the requests of one connection through its bytes, by the same
// rules the HTTP library reads them, and decides about each request from its
// head, before the library has buffered its body: a head of at most
// MaxHeadBytes, a body of at most MaxBodyBytes announced by Content-Length
// (a body of unknown length is refused), and a request line and header
// fields in their plain form, so that the library and this reading never
// disagree about where a request ends.
class RequestFramer {
public:
    static constexpr qsizetype MaxTargetBytes = 8 * 1024;
    static constexpr qsizetype MaxHeadBytes = 16 * 1024;
    static constexpr qint64 MaxBodyBytes = 1024 * 1024;

    struct Refusal {
        int status = 400;
        const char* code = "bad-request";
        QString message;
    };

    // Reads `bytes` up to the end of the request under way, and returns how
    // many it took: it stops after a request's last byte, so that the next
    // request is read only once this one has been answered. After a refusal
    // it takes nothing more.
    qsizetype feed(QByteArrayView bytes);

    const std::optional<Refusal>& refusal() const { return m_refusal; }
    // A request has begun and not yet ended.
    bool inRequest() const { return m_stage != Stage::Between; }
    // How many requests have ended so far.
    qint64 completed() const { return m_completed; }
    // The request line of the request under way or answered last.
    const QByteArray& method() const { return m_method; }
    const QByteArray& target() const { return m_target; }
    // The client asked to close the connection after this request
    // (Connection: close, or HTTP/1.0 without keep-alive).
    bool closeWanted() const { return m_close; }

private:
    enum class Stage { Between, RequestLine, Header, Body };

    void refuse(int status, const char* code, const QString& message);
    void endOfRequestLine();
    void endOfHead();
    bool readHeaderLine(QByteArrayView line, qint64& contentLength, bool& keepAlive);

    Stage m_stage = Stage::Between;
    QByteArray m_line;   // the request line so far
    QByteArray m_header; // the header fields so far, as the library collects them
    qint64 m_bodyLeft = 0;
    QByteArray m_method;
    QByteArray m_target;
    bool m_http10 = false;
    bool m_close = false;
    bool m_hostSeen = false;
    qint64 m_completed = 0;
    std::optional<Refusal> m_refusal;
};
