#include "instrument/gui/TDownloadDlg.h"

#include <QApplication>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

#include "data/data_set.h"
#include "data/file_error.h"
#include "instrument/download_store.h"
#include "instrument/gui/TVxObjComm.h"

namespace corvan {

namespace {
constexpr const char* kCaption = "Download";
constexpr const char* kWaitingForStart = "Waiting for start";
constexpr const char* kWaitingForHeader = "Waiting for header";
constexpr const char* kReceivingMeasurement = "Receiveing masurement number";
constexpr const char* kCancel = "&Cancel";
constexpr const char* kSaveFilter = "Measurement Files (*.CVN);;test (*.tst)";
constexpr const char* kAlreadyExists = "This file already exists.";
constexpr const char* kReplaceQuestion = "Do you want to replace it?";
constexpr const char* kMeasurementExtension = ".CVN";
}  // namespace

TDownloadDlg::TDownloadDlg(DataSet& data, TVxObjComm& comm, QWidget* parent)
    : QDialog(parent), data_(data), comm_(comm) {
    setWindowTitle(QString::fromLatin1(kCaption));
    LabelAction = new QLabel(this);
    LabelAction->setObjectName(QStringLiteral("LabelAction"));
    LabelAction->setAlignment(Qt::AlignCenter);
    LabelRead = new QLabel(this);
    LabelRead->setObjectName(QStringLiteral("LabelRead"));
    LabelRead->setAlignment(Qt::AlignCenter);
    CancelBtn = new QPushButton(QString::fromLatin1(kCancel), this);
    CancelBtn->setObjectName(QStringLiteral("CancelBtn"));
    connect(CancelBtn, &QPushButton::clicked, this, &TDownloadDlg::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(LabelAction);
    layout->addWidget(LabelRead);
    auto* row = new QHBoxLayout;
    row->addStretch();
    row->addWidget(CancelBtn);
    row->addStretch();
    layout->addLayout(row);
    setMinimumWidth(260);
}

TDownloadDlg::Result TDownloadDlg::Execute() {
    result_ = Result{};
    LabelAction->setText(QString::fromLatin1(kWaitingForStart));
    LabelRead->clear();
    BeginDownload(data_);
    protocol_.Start();
    comm_.SendByte(kStartRequest);
    exec();
    if (result_.outcome == Outcome::Cancelled) comm_.SendByte(kEsc);
    return result_;
}

void TDownloadDlg::reject() {
    // Once the download has ended the dialog is closing on its own.
    if (protocol_.End() != DownloadEnd::Running && protocol_.End() != DownloadEnd::Cancelled) return;
    protocol_.Cancel();
    result_.outcome = Outcome::Cancelled;
    QDialog::reject();
}

void TDownloadDlg::Send(LinkReply reply) {
    if (reply != LinkReply::None) comm_.SendByte(ReplyByte(reply));
}

void TDownloadDlg::DownloadByte(std::uint8_t byte) {
    const LinkReply reply = protocol_.Feed(byte);
    if (reply == LinkReply::None) return;
    if (protocol_.Phase() == DownloadPhase::Done) {
        LabelRead->setText(QString::fromStdString(ProgressText(protocol_.Received(), protocol_.Total())));
        Complete();
        return;
    }
    if (reply == LinkReply::Esc) {
        Send(reply);
        result_.outcome = Outcome::Aborted;
        if (protocol_.End() == DownloadEnd::CountRefused) {
            QMessageBox::critical(this, windowTitle(), QString::fromStdString(protocol_.FailureText()));
        }
        done(kAbortResult);
        return;
    }
    Send(reply);
    if (reply != LinkReply::Ack) return;
    switch (protocol_.Phase()) {
        case DownloadPhase::CountBlock:
            LabelAction->setText(QString::fromLatin1(kWaitingForHeader));
            break;
        case DownloadPhase::DataBlocks:
            LabelAction->setText(QString::fromLatin1(kReceivingMeasurement));
            if (protocol_.Received() > 0) {
                LabelRead->setText(QString::fromStdString(ProgressText(protocol_.Received(), protocol_.Total())));
            }
            break;
        default:
            break;
    }
}

void TDownloadDlg::Complete() {
    StoreDownload(protocol_.Result(), data_);
    try {
        result_.saved = SaveInteractively();
    } catch (const FileError& e) {
        // The files could not be written: the instrument learns that the
        // transfer failed instead of getting its final acknowledgement.
        QMessageBox::critical(this, windowTitle(), QString::fromStdString(e.what()));
        Send(LinkReply::Esc);
        result_.outcome = Outcome::Aborted;
        done(kAbortResult);
        return;
    }
    if (result_.saved) emit DataSetReplaced(result_.baseName, result_.fileName);
    Send(LinkReply::Ack);
    result_.outcome = Outcome::Completed;
    accept();
}

bool TDownloadDlg::SaveInteractively() {
    QFileDialog dialog(this);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilter(QString::fromLatin1(kSaveFilter));
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    const QString directory = directorySource_ ? directorySource_() : directory_;
    if (!directory.isEmpty()) dialog.setDirectory(directory);
    if (!data_.defaultSaveName.empty()) dialog.selectFile(QString::fromStdString(data_.defaultSaveName));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return false;

    const QString chosen = dialog.selectedFiles().constFirst();
    const std::string base = StripExtension(chosen.toStdString());
    if (FileExists(MeasurementFileName(base))) {
        QApplication::beep();
        const QString question = QString::fromStdString(base) + QString::fromLatin1(kMeasurementExtension) + '\n' +
                                 QString::fromLatin1(kAlreadyExists) + '\n' + QString::fromLatin1(kReplaceQuestion);
        if (QMessageBox::warning(this, windowTitle(), question, QMessageBox::Yes | QMessageBox::No, QMessageBox::No) !=
            QMessageBox::Yes) {
            return false;
        }
    }
    SaveDownload(data_, base);
    result_.fileName = chosen;
    result_.baseName = QString::fromStdString(base);
    return true;
}

}  // namespace corvan
