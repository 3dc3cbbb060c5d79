#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QJsonObject>
#include <QList>
#include <QString>

#include <utility>

// An answer of the service: a status, its headers and a body. Every answer
// leaves through serialize(), the handlers' as well as those a connection
// gives before its request reached them (413, 408), so that every answer
// carries the same headers and every error the same JSON shape.
struct HttpReply {
    int status = 200;
    QByteArray contentType;
    QByteArray body;
    // Besides Content-Type and Content-Length, which serialize() writes.
    QList<std::pair<QByteArray, QByteArray>> headers;
    // An answer of the API is no document: nothing in it may run or load.
    // The page's own files name what they may load (WebPage).
    QByteArray securityPolicy = "default-src 'none'; frame-ancestors 'none'";

    static HttpReply json(int status, const QJsonObject& object);
    static HttpReply json(const QJsonObject& object) { return json(200, object); }
    // A file to keep: its type and the name a browser or curl -OJ saves it under.
    static HttpReply document(const QByteArray& body, const QByteArray& type,
                              const QString& fileName);
    // {"error": code, "message": message, "field": field}; the field only
    // when the answer is about one field of the request.
    static HttpReply error(int status, const char* code, const QString& message,
                           const QString& field = {});
    static HttpReply noContent();

    void addHeader(const QByteArray& name, const QByteArray& value)
    {
        headers.append({name, value});
    }
    // The error code of an error answer, else empty.
    QString errorCode() const;
};

// The answer as it goes onto the connection. `closing` adds
// "Connection: close"; `headOnly` leaves the body out (HEAD).
QByteArray serialize(const HttpReply& reply, bool closing, bool headOnly = false);

// One line per request on standard error: method, path (without its query),
// status, milliseconds and the token's name ("-" for none). Control
// characters of the path are escaped, so that a request cannot forge lines.
void logRequest(QByteArrayView method, QByteArrayView target, int status, qint64 ms,
                const QString& tokenName);
