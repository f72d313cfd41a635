#pragma once

// Receives what the program hands to the browser, in place of the browser:
//   UrlRecorder recorder;
//   QDesktopServices::setUrlHandler("https", &recorder, "open");

#include <QList>
#include <QObject>
#include <QUrl>

class UrlRecorder : public QObject
{
    Q_OBJECT

public:
    QList<QUrl> urls;

public slots:
    void open(const QUrl& url);
};
