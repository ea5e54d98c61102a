#include "app/samp_fetch.h"

#include <QFile>
#include <QFileInfo>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>

namespace wendrel {

namespace {

std::string LimitText(qint64 bytes) {
    return bytes >= (qint64{1} << 30) ? std::to_string(bytes >> 30) + " GiB" : std::to_string(bytes) + " bytes";
}

// Starts of documents that are no spectrum the program reads.
bool LooksLikeMarkup(const QByteArray& head) {
    const QByteArray start = head.trimmed().left(16).toLower();
    return start.startsWith("<?xml") || start.startsWith("<!doctype") || start.startsWith("<html") ||
           start.startsWith("<votable");
}

}  // namespace

std::string SafeFileName(const std::string& name) {
    std::string safe;
    for (unsigned char c : name)
        if (c >= 0x20 && c != 0x7F && c != '/' && c != '\\' && c != ':') safe += static_cast<char>(c);
    while (!safe.empty() && (safe.front() == '.' || safe.front() == ' ')) safe.erase(safe.begin());
    if (safe.size() > 100) safe.resize(100);
    return safe.empty() ? "spectrum.fits" : safe;
}

SampFetch::SampFetch(QNetworkAccessManager& network, FetchLimits limits, QObject* parent)
    : QObject(parent), network_(network), limits_(limits) {}

SampFetch::~SampFetch() {
    if (reply_) reply_->deleteLater();
}

void SampFetch::Start(const QUrl& url, const std::filesystem::path& folder, const std::string& fileName) {
    if (url.isLocalFile()) {
        const QFileInfo local(url.toLocalFile());
        file_ = local.absoluteFilePath().toStdString();
        if (!local.isFile()) return Finish("the file " + file_.string() + " does not exist or is no file");
        if (local.size() > limits_.maxBytes) return Finish("the file is larger than " + LimitText(limits_.maxBytes));
        return Finish({});
    }
    if (url.scheme() != "http" && url.scheme() != "https")
        return Finish("the address is neither file:// nor http://");
    file_ = folder / SafeFileName(fileName);
    out_ = new QFile(QString::fromStdString(file_.string()), this);
    if (!out_->open(QIODevice::WriteOnly | QIODevice::Truncate))
        return Finish("it cannot be written to " + file_.string());
    QNetworkRequest request(url);
    reply_ = network_.get(request);
    connect(reply_, &QNetworkReply::metaDataChanged, this, [this] {
        const int status = reply_->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
        if (status >= 400) return Finish("the server answered with HTTP status " + std::to_string(status));
        const QVariant length = reply_->header(QNetworkRequest::ContentLengthHeader);
        if (length.isValid() && length.toLongLong() > limits_.maxBytes)
            Finish("it announces more than " + LimitText(limits_.maxBytes));
    });
    connect(reply_, &QNetworkReply::readyRead, this, &SampFetch::Received);
    connect(reply_, &QNetworkReply::downloadProgress, this, &SampFetch::progress);
    connect(reply_, &QNetworkReply::finished, this, [this] {
        if (done_) return;
        Received();
        if (done_) return;
        if (reply_->error() != QNetworkReply::NoError)
            return Finish("the download failed (" + reply_->errorString().toStdString() + ")");
        Finish({});
    });
    QTimer::singleShot(limits_.milliseconds, this, [this] {
        if (!done_) Finish("it did not arrive within " + std::to_string(limits_.milliseconds / 1000) + " seconds");
    });
}

void SampFetch::Received() {
    if (done_) return;
    const QByteArray bytes = reply_->readAll();
    if (received_ == 0 && !bytes.isEmpty() && LooksLikeMarkup(bytes))
        return Finish("it is a web page or XML document, not a spectrum");
    received_ += bytes.size();
    if (received_ > limits_.maxBytes) return Finish("it is larger than " + LimitText(limits_.maxBytes));
    if (out_->write(bytes) != bytes.size()) Finish("it cannot be written to " + file_.string());
}

void SampFetch::Finish(const std::string& error) {
    if (done_) return;
    done_ = true;
    if (reply_) {
        reply_->disconnect(this);
        // Deleting a reply that runs stops its download.
        reply_->deleteLater();
        reply_ = nullptr;
    }
    if (out_) {
        out_->close();
        if (!error.empty()) out_->remove();
    }
    std::filesystem::path file = error.empty() ? file_ : std::filesystem::path();
    // Told from the event loop, so that a caller sees finished() also for an address refused at once.
    QTimer::singleShot(0, this, [this, file, error] {
        emit finished(file, error);
    });
}

}  // namespace wendrel
