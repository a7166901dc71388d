#include "platform/ListasArquivos.h"
#include "platform/Erro.h"
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QSignalBlocker>
#include <QStyle>
#include <algorithm>

namespace {
QString& pessoal() {
    static QString p;
    return p;
}

// A folder as the lists hold it: absolute, without "." or ".." or a
// trailing "/" (the root stays "/").
QString Normaliza(const QString& pasta) { return QDir::cleanPath(QFileInfo(pasta).absoluteFilePath()); }

// The folder itself, checked: 76 when it is not there, 70 when it cannot
// be read.
QString Pasta_Valida(const QString& pasta) {
    const QFileInfo info(pasta);
    if (pasta.isEmpty() || !info.exists() || !info.isDir())
        Levanta_Erro(76, QStringLiteral("Caminho não encontrado: ") + pasta);
    if (!info.isReadable() || !info.isExecutable()) Levanta_Erro(70, QStringLiteral("Permissão negada: ") + pasta);
    return Normaliza(pasta);
}

void Ordena(QStringList& nomes) {
    std::stable_sort(nomes.begin(), nomes.end(), [](const QString& a, const QString& b) { return Compara_Texto_Lista(a, b) < 0; });
}

constexpr int PapelPasta = Qt::UserRole + 1;
}  // namespace

QString Pastas::Pessoal() { return pessoal().isEmpty() ? QDir::homePath() : pessoal(); }
void Pastas::DefinePessoal(const QString& pasta) { pessoal() = pasta; }

// ---------------------------------------------------------------------------
// Drives

DriveListBox::DriveListBox(QWidget* pai) : ComboBox(pai, 2) {
    Refresh();
    Click = [this] {
        if (Drive() == atual_) return;
        atual_ = Drive();
        if (Change) Change();
    };
}

QString DriveListBox::Drive() const { return Text(); }

void DriveListBox::setDrive(const QString& drive) {
    const int i = findText(drive.isEmpty() ? drive : Normaliza(drive), Qt::MatchExactly);
    if (i < 0) Levanta_Erro(68, QStringLiteral("Dispositivo Inválido ou Inexistente: ") + drive);
    {
        const QSignalBlocker quieto(this);
        setCurrentIndex(i);
    }
    if (Drive() == atual_) return;
    atual_ = Drive();
    // From the program, the change runs at once and its errors reach the
    // caller, as the user's own choice reaches the handler.
    if (Change) Change();
}

void DriveListBox::Refresh() {
    const QSignalBlocker quieto(this);
    const QString antes = atual_.isEmpty() ? Normaliza(Pastas::Pessoal()) : atual_;
    Clear();
    AddItem(QStringLiteral("/"));
    const QString casa = Normaliza(Pastas::Pessoal());
    if (casa != QLatin1String("/")) AddItem(casa);
    const int i = std::max(findText(antes, Qt::MatchExactly), 0);
    setCurrentIndex(i);
    atual_ = Text();
}

// ---------------------------------------------------------------------------
// Folders

DirListBox::DirListBox(QWidget* pai) : ListBox(pai), caminho_(Normaliza(Pastas::Pessoal())) { preenche(); }

void DirListBox::setPath(const QString& pasta) {
    const QString nova = Pasta_Valida(pasta);
    const bool mudou = nova != caminho_;
    caminho_ = nova;
    preenche();
    if (mudou && Change) Change();
}

QString DirListBox::Pasta(int i) const {
    const QListWidgetItem* it = item(i);
    return it ? it->data(PapelPasta).toString() : QString();
}

void DirListBox::Refresh() { preenche(); }

void DirListBox::preenche() {
    const QSignalBlocker quieto(this);
    Clear();
    const QIcon aberta = QApplication::style()->standardIcon(QStyle::SP_DirOpenIcon);
    const QIcon fechada = QApplication::style()->standardIcon(QStyle::SP_DirClosedIcon);
    // From the root down to the current folder, each a step further in.
    const QStringList partes = caminho_.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    QString pasta = QStringLiteral("/");
    for (int nivel = 0; nivel <= partes.size(); ++nivel) {
        if (nivel > 0) pasta = (pasta == QLatin1String("/") ? QString() : pasta) + QLatin1Char('/') + partes[nivel - 1];
        auto* it = new QListWidgetItem(aberta, QString(2 * nivel, QLatin1Char(' ')) + (nivel ? partes[nivel - 1] : pasta));
        it->setData(PapelPasta, pasta);
        addItem(it);
    }
    const int atual = count() - 1;
    QStringList filhas = QDir(caminho_).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    Ordena(filhas);
    const QString recuo(2 * (int(partes.size()) + 1), QLatin1Char(' '));
    for (const QString& nome : filhas) {
        auto* it = new QListWidgetItem(fechada, recuo + nome);
        it->setData(PapelPasta, caminho_ == QLatin1String("/") ? QLatin1Char('/') + nome : caminho_ + QLatin1Char('/') + nome);
        addItem(it);
    }
    setCurrentRow(atual);
}

void DirListBox::abre(int i) {
    const QString pasta = Pasta(i);
    if (!pasta.isEmpty()) Dispara([this, pasta] { setPath(pasta); });
}

void DirListBox::keyPressEvent(QKeyEvent* e) {
    if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) {
        abre(currentRow());
        return;
    }
    ListBox::keyPressEvent(e);
}

void DirListBox::mouseDoubleClickEvent(QMouseEvent* e) {
    const QListWidgetItem* it = itemAt(e->position().toPoint());
    const int linha = it ? row(it) : -1;
    ListBox::mouseDoubleClickEvent(e);
    if (linha >= 0) abre(linha);
}

// ---------------------------------------------------------------------------
// Files

FileListBox::FileListBox(QWidget* pai) : ListBox(pai), caminho_(Normaliza(Pastas::Pessoal())) { Refresh(); }

void FileListBox::setPath(const QString& pasta) {
    caminho_ = Pasta_Valida(pasta);
    Refresh();
}

void FileListBox::setPattern(const QString& padrao) {
    padrao_ = padrao;
    Refresh();
}

QString FileListBox::FileName() const { return ListIndex() >= 0 ? List(ListIndex()) : QString(); }

void FileListBox::setFileName(const QString& nome) {
    for (int i = 0; i < ListCount(); ++i)
        if (List(i) == nome) return setListIndex(i);
    setListIndex(-1);
}

void FileListBox::Refresh() {
    QStringList filtros;
    for (const QString& p : padrao_.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        const QString f = p.trimmed();
        if (f == QLatin1String("*") || f == QLatin1String("*.*")) {
            filtros.clear();
            break;
        }
        if (!f.isEmpty()) filtros << f;
    }
    // Without QDir::CaseSensitive the patterns match "TERMO.XLSX" too.
    QStringList nomes = QDir(caminho_).entryList(filtros, QDir::Files);
    Ordena(nomes);
    Clear();
    AddItems(nomes);
}
