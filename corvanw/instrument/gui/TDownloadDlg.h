#pragma once
// "Download": asks the instrument for its series, shows the progress while
// the receive pump feeds it the bytes, and lets the user save the result.

#include <QDialog>
#include <QString>
#include <functional>

#include "instrument/download_protocol.h"
#include "instrument/gui/TReceivePump.h"

class QLabel;
class QPushButton;

namespace corvan {

struct DataSet;
class TVxObjComm;

class TDownloadDlg : public QDialog, public DownloadTarget {
    Q_OBJECT
public:
    // The dialog's result when the download was abandoned.
    static constexpr int kAbortResult = 3;

    enum class Outcome { Cancelled, Aborted, Completed };
    struct Result {
        Outcome outcome = Outcome::Cancelled;
        // The files were written and the data set is the downloaded series.
        bool saved = false;
        QString fileName;
        QString baseName;
    };

    TDownloadDlg(DataSet& data, TVxObjComm& comm, QWidget* parent = nullptr);

    // Shows the dialog modally and runs the whole download; on Cancel the
    // instrument is told so (ESC) after the dialog has closed.
    Result Execute();

    // Where the save dialog starts.
    void SetInitialDirectory(const QString& directory) { directory_ = directory; }
    // Where the save dialog starts when it opens: the caller's current data
    // folder at that moment, which changes as files are opened.
    void SetDirectorySource(std::function<QString()> source) { directorySource_ = std::move(source); }

    bool DownloadActive() const override { return protocol_.Active(); }
    void DownloadByte(std::uint8_t byte) override;

    const DownloadProtocol& Protocol() const { return protocol_; }

    QLabel* LabelAction;
    QLabel* LabelRead;
    QPushButton* CancelBtn;

signals:
    // The download was written as BASE.CVN/.RF6 (fileName is the name the
    // user chose) and the data set holds it with series 1 as its range: the
    // statistics can be computed now. Emitted before the instrument gets its
    // final acknowledgement.
    void DataSetReplaced(const QString& baseName, const QString& fileName);

public slots:
    void reject() override;

private:
    void Complete();
    // False when the user chose not to save; throws nothing.
    bool SaveInteractively();
    void Send(LinkReply reply);

    DataSet& data_;
    TVxObjComm& comm_;
    DownloadProtocol protocol_;
    QString directory_;
    std::function<QString()> directorySource_;
    Result result_;
};

}  // namespace corvan
