#include "url_recorder.h"

void UrlRecorder::open(const QUrl& url) { urls << url; }
