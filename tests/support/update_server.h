#pragma once

// A small HTTP(S) server on 127.0.0.1 for the update tests and benchmark: it
// serves fixed bodies by path, whole, trickled, cut short or not at all, and
// records every request. TLS uses the test certificate in tests/data.

#include <QFile>
#include <QHostAddress>
#include <QList>
#include <QMap>
#include <QMutex>
#include <QSslCertificate>
#include <QSslKey>
#include <QSslSocket>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

#include <memory>

namespace testserver {

struct Route
{
    enum class Mode {
        Whole, // the body at once
        Silent, // the request is read and never answered
        Cut, // the full length is announced, `cutAfter` bytes are sent, then close
        Trickle, // `chunk` bytes every `intervalMs`
    };
    int status = 200;
    QByteArray body;
    Mode mode = Mode::Whole;
    qint64 cutAfter = 0;
    int chunk = 1;
    int intervalMs = 1;
    bool announceLength = true; // without it the body ends when the connection does
};

struct Request
{
    QByteArray method;
    QByteArray path;
    QMap<QByteArray, QByteArray> headers; // names in lower case
};

class UpdateServer : public QTcpServer
{
public:
    // Plain HTTP, or TLS when a certificate and key file are given.
    bool start(const QString& certFile = QString(), const QString& keyFile = QString())
    {
        if (!certFile.isEmpty()) {
            QFile cert(certFile);
            QFile key(keyFile);
            if (!cert.open(QIODevice::ReadOnly) || !key.open(QIODevice::ReadOnly))
                return false;
            m_cert = QSslCertificate(&cert, QSsl::Pem);
            m_key = QSslKey(&key, QSsl::Rsa, QSsl::Pem);
            m_tls = !m_cert.isNull() && !m_key.isNull();
            if (!m_tls)
                return false;
        }
        return listen(QHostAddress::LocalHost, 0);
    }

    void route(const QByteArray& path, const Route& r) { m_routes[path] = r; }

    QString baseUrl() const
    {
        return QStringLiteral("%1://127.0.0.1:%2").arg(m_tls ? "https" : "http").arg(serverPort());
    }

    QList<Request> requests() const
    {
        QMutexLocker lock(&m_mutex);
        return m_requests;
    }
    int requestCount() const { return int(requests().size()); }

protected:
    void incomingConnection(qintptr descriptor) override
    {
        QTcpSocket* socket = nullptr;
        if (m_tls) {
            auto* ssl = new QSslSocket(this);
            ssl->setLocalCertificate(m_cert);
            ssl->setPrivateKey(m_key);
            socket = ssl;
        } else {
            socket = new QTcpSocket(this);
        }
        if (!socket->setSocketDescriptor(descriptor)) {
            delete socket;
            return;
        }
        QObject::connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        QObject::connect(
            socket, &QIODevice::readyRead, socket, [this, socket] { readRequest(socket); });
        if (m_tls)
            static_cast<QSslSocket*>(socket)->startServerEncryption();
    }

private:
    void readRequest(QTcpSocket* socket)
    {
        QByteArray pending = socket->property("pending").toByteArray() + socket->readAll();
        const qsizetype end = pending.indexOf("\r\n\r\n");
        if (end < 0 || socket->property("answered").toBool()) {
            socket->setProperty("pending", pending);
            return;
        }
        socket->setProperty("answered", true);
        const QList<QByteArray> lines = pending.left(end).split('\n');
        Request request;
        const QList<QByteArray> first = lines.value(0).trimmed().split(' ');
        request.method = first.value(0);
        request.path = first.value(1);
        for (qsizetype i = 1; i < lines.size(); ++i) {
            const qsizetype colon = lines[i].indexOf(':');
            if (colon > 0)
                request.headers[lines[i].left(colon).trimmed().toLower()]
                    = lines[i].mid(colon + 1).trimmed();
        }
        {
            QMutexLocker lock(&m_mutex);
            m_requests << request;
        }
        Route r;
        if (m_routes.contains(request.path))
            r = m_routes.value(request.path);
        else
            r = Route { 404, "not found" };
        answer(socket, r);
    }

    static void answer(QTcpSocket* socket, const Route& r)
    {
        if (r.mode == Route::Mode::Silent)
            return;
        QByteArray head = "HTTP/1.1 " + QByteArray::number(r.status)
            + (r.status == 200        ? " OK"
                    : r.status == 404 ? " Not Found"
                                      : " Status")
            + "\r\n";
        head += "Content-Type: application/octet-stream\r\nConnection: close\r\n";
        if (r.announceLength)
            head += "Content-Length: " + QByteArray::number(r.body.size()) + "\r\n";
        head += "\r\n";
        socket->write(head);
        if (r.mode == Route::Mode::Whole) {
            socket->write(r.body);
            socket->disconnectFromHost();
        } else if (r.mode == Route::Mode::Cut) {
            socket->write(r.body.left(r.cutAfter));
            socket->disconnectFromHost();
        } else {
            auto* timer = new QTimer(socket);
            auto sent = std::make_shared<qsizetype>(0);
            QObject::connect(timer, &QTimer::timeout, socket, [socket, timer, sent, r] {
                socket->write(r.body.mid(*sent, r.chunk));
                *sent += r.chunk;
                if (*sent >= r.body.size()) {
                    timer->stop();
                    socket->disconnectFromHost();
                }
            });
            timer->start(r.intervalMs);
        }
    }

    bool m_tls = false;
    QSslCertificate m_cert;
    QSslKey m_key;
    QMap<QByteArray, Route> m_routes;
    mutable QMutex m_mutex;
    QList<Request> m_requests;
};

} // namespace testserver
