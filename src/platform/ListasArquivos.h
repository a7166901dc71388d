#pragma once
// The drive, folder and file lists with which forms let the user pick a
// folder or a file. This system has no drives: the drive list offers the
// root folder and the user's home folder. The folder list shows the path
// from the root down to the current folder, then its subfolders (a
// double-click or Enter opens one); the file list shows the files of its
// folder that match its pattern. Hidden entries (".name") are not shown.
//
// Setting Path (or Drive) to another folder fires Change, as the user's
// choice does; a folder that does not exist raises 76, one that cannot be
// read 70, a drive that is not offered 68.
#include "platform/Controles.h"
#include <QString>

namespace Pastas {
// The user's home folder, offered by the drive list; tests set their own
// (an empty text gives the real one back).
QString Pessoal();
void DefinePessoal(const QString& pasta);
}

class DriveListBox : public ComboBox {
    Q_OBJECT
public:
    // Starts on the home folder.
    explicit DriveListBox(QWidget* pai = nullptr);
    QString Drive() const;
    void setDrive(const QString& drive);
    // Reads the home folder again.
    void Refresh();
    Evento Change;

private:
    QString atual_;
};

class DirListBox : public ListBox {
    Q_OBJECT
public:
    // Starts on the home folder.
    explicit DirListBox(QWidget* pai = nullptr);
    QString Path() const { return caminho_; }
    void setPath(const QString& pasta);
    // The folder of row i, or the empty text.
    QString Pasta(int i) const;
    void Refresh();
    Evento Change;

protected:
    void keyPressEvent(QKeyEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;

private:
    void preenche();
    void abre(int i);
    QString caminho_;
};

class FileListBox : public ListBox {
    Q_OBJECT
public:
    // Starts on the home folder, listing every file.
    explicit FileListBox(QWidget* pai = nullptr);
    QString Path() const { return caminho_; }
    void setPath(const QString& pasta);
    // Patterns separated by ";" ("*.xlsx;*.xls"), matched without regard to
    // case; "*" or "*.*" (or nothing) lists every file.
    QString Pattern() const { return padrao_; }
    void setPattern(const QString& padrao);
    // The chosen file's name, without its folder; empty when none is.
    QString FileName() const;
    // Chooses the file of that name (firing Click), or none.
    void setFileName(const QString& nome);
    void Refresh();
    // Click (of ListBox) fires when a file is chosen.

private:
    QString caminho_;
    QString padrao_;
};
