// Fetching the file a SAMP message points at, in the background: a local
// file (file://) is used where it lies; an http(s) address is downloaded into
// a given folder, within a time limit and a size limit. A download is refused
// at once when its announced length is over the limit, when the bytes
// received pass it, or when its first bytes show a web page or XML document
// rather than a spectrum.
#pragma once

#include <QObject>
#include <QString>
#include <QUrl>
#include <filesystem>
#include <string>

class QFile;
class QNetworkAccessManager;
class QNetworkReply;

namespace wendrel {

inline constexpr qint64 kMaxFetchBytes = qint64{2} << 30;  // 2 GiB
inline constexpr int kFetchMilliseconds = 120000;

struct FetchLimits {
    qint64 maxBytes = kMaxFetchBytes;
    int milliseconds = kFetchMilliseconds;  // for the whole download
};

class SampFetch : public QObject {
    Q_OBJECT

public:
    SampFetch(QNetworkAccessManager& network, FetchLimits limits, QObject* parent = nullptr);
    ~SampFetch() override;

    // Starts; finished() follows, also for an address that is refused at once.
    // A download goes into `folder` under the name `fileName` (made safe).
    void Start(const QUrl& url, const std::filesystem::path& folder, const std::string& fileName);

signals:
    void progress(qint64 received, qint64 total);  // total -1 when not announced
    // The local file, or an empty path and the reason (never quoting the file),
    // which reads after the file's name: "it is larger than 2 GiB".
    void finished(const std::filesystem::path& file, const std::string& error);

private:
    void Received();
    void Finish(const std::string& error);

    QNetworkAccessManager& network_;
    FetchLimits limits_;
    QNetworkReply* reply_ = nullptr;
    QFile* out_ = nullptr;
    std::filesystem::path file_;
    qint64 received_ = 0;
    bool done_ = false;
};

// A file name made of the message's name: path separators and control
// characters removed, at most 100 characters; "spectrum.fits" when nothing is left.
std::string SafeFileName(const std::string& name);

}  // namespace wendrel
