// The floor of the cash book's benchmarks: the same work written directly
// on SQLCipher and Qt, with no layer of the program in between, on the same
// files and rows as bench_livrocaixa and bench_banco:
//  - BM_PisoAbreMes: the month of 5,000 entries read, each row's text
//    built, sorted once by collation keys, put into a list in one block
//    with its code, stored history and cents, the totals shown, the
//    offering histories in their box, the window shown and painted once;
//  - BM_PisoGrava: one more entry saved (next code, insert, the month's
//    transmission record removed, in one transaction) and its row put in
//    its place, the totals updated;
//  - BM_PisoConsulta: one query call (open, bind, run, copy the rows, close).
// Before any timing, each floor's output is checked identical to the
// program's (list texts in their order, codes, totals, history box, the
// stored entry, the query's rows); the run stops on any difference.
#include "common/Banco.h"
#include "common/Parametros.h"
#include "common/Usuario.h"
#include "operations/LivroCaixa.h"
#include "platform/SqlCipher.h"
#include "shell/Principal.h"
#include "MesDeTeste.h"
#include "ComJanelas.h"
#include <QCollator>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QSignalBlocker>
#include <QTemporaryDir>
#include <QVBoxLayout>
#include <benchmark/benchmark.h>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

[[noreturn]] void Diverge(const QString& oque) {
    std::fprintf(stderr, "o piso difere do programa: %s\n", qPrintable(oque));
    std::exit(1);
}

// ---------------------------------------------------------------- SQLCipher

struct Handle {
    sqlite3* db = nullptr;
    Handle(const QByteArray& caminho, const QByteArray& chave) {
        if (sqlite3_open_v2(caminho.constData(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr) != SQLITE_OK ||
            sqlite3_key(db, chave.constData(), int(chave.size())) != SQLITE_OK)
            Diverge(QStringLiteral("abertura"));
        sqlite3_busy_timeout(db, 1000);
    }
    ~Handle() { sqlite3_close_v2(db); }
    void Executa(const char* sql) const {
        if (sqlite3_exec(db, sql, nullptr, nullptr, nullptr) != SQLITE_OK) Diverge(QString::fromUtf8(sqlite3_errmsg(db)));
    }
};

struct Stmt {
    sqlite3_stmt* st = nullptr;
    Stmt(const Handle& h, const QByteArray& sql) {
        if (sqlite3_prepare_v2(h.db, sql.constData(), int(sql.size()), &st, nullptr) != SQLITE_OK)
            Diverge(QString::fromUtf8(sqlite3_errmsg(h.db)));
    }
    ~Stmt() { sqlite3_finalize(st); }
    bool Passo() {
        const int rc = sqlite3_step(st);
        if (rc != SQLITE_ROW && rc != SQLITE_DONE) Diverge(QString::fromUtf8(sqlite3_errmsg(sqlite3_db_handle(st))));
        return rc == SQLITE_ROW;
    }
    QString Texto(int i) const {
        return QString::fromUtf16(static_cast<const char16_t*>(sqlite3_column_text16(st, i)),
                                  sqlite3_column_bytes16(st, i) / 2);
    }
};

struct Arquivo {
    QByteArray caminho, chave;
    explicit Arquivo(const QString& c) : caminho(QFile::encodeName(c)) {
        QFile f(c);
        f.open(QIODevice::ReadOnly);
        chave = "x'" + SqlCipher::Chave(f.read(16)).toHex() + "'";
    }
    QByteArray Sql(const char* nome) const {
        Handle h(caminho, chave);
        Stmt s(h, QByteArray("SELECT Sql FROM Consultas WHERE Nome = '") + nome + "'");
        if (!s.Passo()) Diverge(QString::fromLatin1(nome));
        return s.Texto(0).toUtf8();
    }
};

// ---------------------------------------------------------------- rows

// "#,##0.00" written backwards to end at `fim`.
char16_t* Moeda(char16_t* fim, qint64 c) {
    quint64 a = c < 0 ? 0 - quint64(c) : quint64(c);
    char16_t* p = fim;
    *--p = char16_t(u'0' + a % 10);
    *--p = char16_t(u'0' + a / 10 % 10);
    *--p = u',';
    a /= 100;
    for (int g = 0;; ++g) {
        if (g && g % 3 == 0) *--p = u'.';
        *--p = char16_t(u'0' + a % 10);
        if ((a /= 10) == 0) break;
    }
    if (c < 0) *--p = u'-';
    return p;
}

QString Moeda(qint64 c) {
    char16_t b[32];
    const char16_t* p = Moeda(b + 32, c);
    return QString(reinterpret_cast<const QChar*>(p), b + 32 - p);
}

void Celula(QString& r, bool vazia, qint64 c) {
    char16_t b[32];
    const char16_t* p = vazia ? u"----" : Moeda(b + 32, c);
    const qsizetype n = vazia ? 4 : b + 32 - p;
    if (n > 10) {
        r.append(QLatin1String("##########"));
        return;
    }
    r.append(QString(10 - n, u' '));
    r.append(QStringView(p, n));
}

struct Linha {
    QString texto;
    qint64 codigo = 0;
    QString historico;
    qint64 entrada = 0, saida = 0;
};

Linha Monta(qint64 codigo, QStringView tipo, int dia, const QString& historico, qint64 centavos) {
    Linha l;
    l.codigo = codigo;
    l.historico = historico;
    const bool saida = tipo == u"S";
    (saida ? l.saida : l.entrada) = centavos;
    // A tithe shows its two-letter position first.
    const QString h = tipo == u"D" ? (historico.right(2) + u' ' + historico.left(historico.size() - 2)).trimmed() : historico;
    QString& r = l.texto;
    r.reserve(76);
    r.append(tipo.left(1)).append(u' ');
    r.append(QChar(u'0' + dia / 10)).append(QChar(u'0' + dia % 10)).append(u' ');
    r.append(QStringView(h).left(50)).append(QString(50 - std::min<qsizetype>(50, h.size()), u' '));
    Celula(r, saida, centavos);
    r.append(u' ');
    Celula(r, !saida, centavos);
    return l;
}

QCollator& Colador() {
    static QCollator c = [] {
        QCollator k(QLocale(QLocale::Portuguese, QLocale::Brazil));
        k.setCaseSensitivity(Qt::CaseInsensitive);
        return k;
    }();
    return c;
}

void Dados(QListWidgetItem* it, const Linha& l) {
    it->setData(Qt::UserRole, qlonglong(l.codigo));
    it->setData(Qt::UserRole + 1, l.historico);
    it->setData(Qt::UserRole + 2, qlonglong(l.entrada));
    it->setData(Qt::UserRole + 3, qlonglong(l.saida));
}

// ---------------------------------------------------------------- window

struct Janela : QWidget {
    QComboBox* historicos = new QComboBox(this);
    QListWidget* lista = new QListWidget(this);
    QLineEdit* entradas = new QLineEdit(this);
    QLineEdit* saidas = new QLineEdit(this);
    QLineEdit* saldo = new QLineEdit(this);
    std::vector<QCollatorSortKey> chaves;  // of the list's rows, in its order
    qint64 e = 0, s = 0;

    explicit Janela(const QRect& geometriaLista, const QFont& fonte) {
        lista->setFont(fonte);
        lista->setUniformItemSizes(true);
        lista->setGeometry(geometriaLista);
        historicos->setGeometry(10, 10, 400, 24);
        int x = 10;
        for (QLineEdit* t : {entradas, saidas, saldo}) {
            t->setReadOnly(true);
            t->setGeometry(x, geometriaLista.bottom() + 10, 110, 24);
            x += 190;
        }
        resize(geometriaLista.right() + 10, geometriaLista.bottom() + 44);
    }
    void Totais() {
        entradas->setText(Moeda(e));
        saidas->setText(Moeda(s));
        saldo->setText(Moeda(e - s));
    }
};

struct Pinturas : QObject {
    int n = 0;
    bool eventFilter(QObject*, QEvent* ev) override {
        if (ev->type() == QEvent::Paint) ++n;
        return false;
    }
};

void Pinta(Janela* j) {
    Pinturas p;
    j->lista->viewport()->installEventFilter(&p);
    j->show();
    while (p.n == 0) QCoreApplication::processEvents();
    j->lista->viewport()->removeEventFilter(&p);
}

struct Mes {
    QTemporaryDir dirPrograma, dirPiso;
    Principal* principal = nullptr;
    std::unique_ptr<Arquivo> arquivo;
    QByteArray sqlMes, sqlHist, sqlProximo, sqlIns, sqlDelTransmissao;
    QRect geometria;
    QFont fonte;

    Mes() {
        Cria_Mes_De_Teste(dirPiso.path(), 12);
        QFile::copy(Banco::CaminhoArquivo(), dirPrograma.path() + QLatin1Char('/') + Banco::NomeArquivo);
        App::DefinePath(dirPrograma.path());
        arquivo = std::make_unique<Arquivo>(dirPiso.path() + QLatin1Char('/') + Banco::NomeArquivo);
        sqlMes = arquivo->Sql("ProcPesqLivroCaixa");
        sqlHist = arquivo->Sql("ProcPesqHistOfertas");
        sqlProximo = arquivo->Sql("ProcProximoLivroCaixa");
        sqlIns = arquivo->Sql("ProcInsLivroCaixa");
        sqlDelTransmissao = arquivo->Sql("ProcDelTransmissaoMes");
        principal = Abre_Principal();
    }

    Janela* Abre() const {
        auto* j = new Janela(geometria, fonte);
        std::vector<Linha> linhas;
        QStringList historicos;
        {
            Handle h(arquivo->caminho, arquivo->chave);
            Stmt sh(h, sqlHist);
            sqlite3_bind_int64(sh.st, 1, 12);
            while (sh.Passo()) historicos << sh.Texto(0).trimmed();
            Stmt sm(h, sqlMes);
            sqlite3_bind_int64(sm.st, 1, 12);
            sqlite3_bind_int64(sm.st, 2, 2021);
            sqlite3_bind_int64(sm.st, 3, 8);
            linhas.reserve(5000);
            while (sm.Passo())
                linhas.push_back(Monta(sqlite3_column_int64(sm.st, 4), sm.Texto(0), sqlite3_column_int(sm.st, 1),
                                       sm.Texto(2).trimmed(), std::llround(sqlite3_column_double(sm.st, 3) * 100)));
        }
        std::sort(historicos.begin(), historicos.end(),
                  [](const QString& a, const QString& b) { return Colador().compare(a, b) < 0; });
        j->historicos->addItems(historicos);

        std::vector<QCollatorSortKey> chaves;
        chaves.reserve(linhas.size());
        for (const Linha& l : linhas) chaves.push_back(Colador().sortKey(l.texto));
        std::vector<int> ordem(linhas.size());
        for (size_t i = 0; i < ordem.size(); ++i) ordem[i] = int(i);
        std::stable_sort(ordem.begin(), ordem.end(), [&](int a, int b) { return chaves[size_t(a)].compare(chaves[size_t(b)]) < 0; });
        QStringList textos;
        textos.reserve(qsizetype(linhas.size()));
        for (int i : ordem) {
            textos << linhas[size_t(i)].texto;
            j->chaves.push_back(chaves[size_t(i)]);
        }
        j->lista->addItems(textos);
        {
            const QSignalBlocker b(j->lista->model());
            for (size_t k = 0; k < ordem.size(); ++k) Dados(j->lista->item(int(k)), linhas[size_t(ordem[k])]);
        }
        for (const Linha& l : linhas) {
            j->e += l.entrada;
            j->s += l.saida;
        }
        j->Totais();
        Pinta(j);
        return j;
    }

    void Grava(Janela* j, int dia, const QString& historico, qint64 centavos) const {
        qint64 codigo = 0;
        {
            Handle h(arquivo->caminho, arquivo->chave);
            h.Executa("BEGIN IMMEDIATE");
            {
                Stmt p(h, sqlProximo);
                p.Passo();
                codigo = sqlite3_column_int64(p.st, 0);
                Stmt i(h, sqlIns);
                sqlite3_bind_int64(i.st, 1, codigo);
                sqlite3_bind_int64(i.st, 2, 12);
                sqlite3_bind_int64(i.st, 3, 2021);
                sqlite3_bind_int64(i.st, 4, 8);
                sqlite3_bind_int64(i.st, 5, dia);
                sqlite3_bind_text16(i.st, 6, u"O", 2, SQLITE_STATIC);
                sqlite3_bind_text16(i.st, 7, historico.utf16(), int(historico.size() * 2), SQLITE_TRANSIENT);
                sqlite3_bind_double(i.st, 8, double(centavos) / 100.0);
                i.Passo();
                Stmt d(h, sqlDelTransmissao);
                sqlite3_bind_int64(d.st, 1, 8);
                sqlite3_bind_int64(d.st, 2, 2021);
                d.Passo();
            }
            h.Executa("COMMIT");
        }
        const Linha l = Monta(codigo, u"O", dia, historico, centavos);
        QCollatorSortKey chave = Colador().sortKey(l.texto);
        const auto pos = std::upper_bound(j->chaves.begin(), j->chaves.end(), chave,
                                          [](const QCollatorSortKey& a, const QCollatorSortKey& b) { return a.compare(b) < 0; });
        const int linha = int(pos - j->chaves.begin());
        j->chaves.insert(pos, std::move(chave));
        auto* it = new QListWidgetItem(l.texto);
        Dados(it, l);
        j->lista->insertItem(linha, it);
        j->e += l.entrada;
        j->Totais();
    }
};

Mes& mes() {
    static Mes m;
    return m;
}

void Confere(const Janela* j, const LivroCaixa* f, const QString& quando) {
    const int n = f->LstLivroCx->ListCount();
    if (j->lista->count() != n) Diverge(quando + QStringLiteral(": número de linhas"));
    for (int i = 0; i < n; ++i) {
        if (j->lista->item(i)->text() != f->LstLivroCx->List(i))
            Diverge(quando + QStringLiteral(": linha %1\n  piso     [%2]\n  programa [%3]")
                                 .arg(i)
                                 .arg(j->lista->item(i)->text(), f->LstLivroCx->List(i)));
        if (j->lista->item(i)->data(Qt::UserRole).toLongLong() != f->LstLivroCx->ItemData(i))
            Diverge(quando + QStringLiteral(": código da linha %1").arg(i));
    }
    if (j->entradas->text() != f->TxtEntradas->Text() || j->saidas->text() != f->TxtSaidas->Text() ||
        j->saldo->text() != f->TxtSaldo->Text())
        Diverge(quando + QStringLiteral(": totais"));
    QStringList a, b;
    for (int i = 0; i < j->historicos->count(); ++i) a << j->historicos->itemText(i);
    for (int i = 0; i < f->CboHistorico->ListCount(); ++i) b << f->CboHistorico->List(i);
    if (a != b) Diverge(quando + QStringLiteral(": históricos"));
}

// The program's month and one saved entry against the floor's, before any timing.
void Confere_Com_Programa() {
    Mes& m = mes();
    m.principal->Liv_Cx->trigger();
    auto* f = Form::Instancia<LivroCaixa>();
    m.geometria = f->LstLivroCx->geometry();
    m.fonte = f->LstLivroCx->font();
    Janela* j = m.Abre();
    Confere(j, f, QStringLiteral("mês aberto"));
    f->TxtDia->setText_(QStringLiteral("7"));
    f->CboHistorico->setText_(QStringLiteral("OFERTA ESPECIAL DE MISSÕES"));
    f->TxtValor->setText_(QStringLiteral("1.234,56"));
    f->CmdEnvia->click();
    m.Grava(j, 7, QStringLiteral("OFERTA ESPECIAL DE MISSÕES"), 123456);
    Confere(j, f, QStringLiteral("lançamento gravado"));
    delete f;
    delete j;
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void BM_PisoAbreMes(benchmark::State& estado) {
    int linhas = 0;
    for (auto _ : estado) {
        Janela* j = mes().Abre();
        linhas = j->lista->count();
        estado.PauseTiming();
        delete j;
        estado.ResumeTiming();
    }
    estado.counters["linhas"] = linhas;
    estado.SetItemsProcessed(estado.iterations() * linhas);
}
BENCHMARK(BM_PisoAbreMes)->Unit(benchmark::kMillisecond)->Iterations(20);

void BM_PisoGrava(benchmark::State& estado) {
    Janela* j = mes().Abre();
    int dia = 0;
    for (auto _ : estado) mes().Grava(j, 1 + dia++ % 28, QStringLiteral("OFERTA ESPECIAL DE MISSÕES"), 123456);
    estado.counters["linhas"] = j->lista->count();
    delete j;
}
BENCHMARK(BM_PisoGrava)->Unit(benchmark::kMillisecond)->Iterations(50);

// ---------------------------------------------------------------- one query

struct Consulta {
    QTemporaryDir pasta;
    std::unique_ptr<Arquivo> arquivo;
    QByteArray sql;
    Consulta() {
        Cria_Arquivo_De_Consulta(pasta.path());
        arquivo = std::make_unique<Arquivo>(Banco::CaminhoArquivo());
        sql = arquivo->Sql("ProcPesqLivroCaixa");
    }
    // Column names and rows, as a snapshot.
    std::pair<QStringList, std::vector<std::vector<QVariant>>> Le() const {
        Handle h(arquivo->caminho, arquivo->chave);
        Stmt s(h, sql);
        sqlite3_bind_int64(s.st, 1, 3);
        sqlite3_bind_int64(s.st, 2, 2021);
        sqlite3_bind_int64(s.st, 3, 8);
        const int n = sqlite3_column_count(s.st);
        QStringList nomes;
        for (int i = 0; i < n; ++i) nomes << QString::fromUtf8(sqlite3_column_name(s.st, i));
        std::vector<std::vector<QVariant>> linhas;
        while (s.Passo()) {
            std::vector<QVariant> l;
            l.reserve(size_t(n));
            for (int i = 0; i < n; ++i) {
                switch (sqlite3_column_type(s.st, i)) {
                case SQLITE_INTEGER: l.emplace_back(qlonglong(sqlite3_column_int64(s.st, i))); break;
                case SQLITE_FLOAT: l.emplace_back(sqlite3_column_double(s.st, i)); break;
                case SQLITE_NULL: l.emplace_back(); break;
                default: l.emplace_back(s.Texto(i)); break;
                }
            }
            linhas.push_back(std::move(l));
        }
        return {nomes, std::move(linhas)};
    }
};

Consulta& consulta() {
    static Consulta c;
    return c;
}

void Confere_Consulta() {
    const auto [nomes, linhas] = consulta().Le();
    RecordsetPtr rs = Abre_Query(QStringLiteral("ProcPesqLivroCaixa"), {QStringLiteral("0003"), QStringLiteral("2021"), QStringLiteral("8")});
    if (rs->RecordCount() != int(linhas.size()) || rs->FieldCount() != nomes.size()) Diverge(QStringLiteral("consulta"));
    for (const auto& l : linhas) {
        for (int i = 0; i < rs->FieldCount(); ++i)
            if (rs->FieldName(i) != nomes[i] || rs->Fields(i) != l[size_t(i)]) Diverge(QStringLiteral("consulta: campo"));
        rs->MoveNext();
    }
}

void BM_PisoConsulta(benchmark::State& estado) {
    int linhas = 0;
    for (auto _ : estado) {
        auto r = consulta().Le();
        linhas = int(r.second.size());
        benchmark::DoNotOptimize(r);
    }
    estado.counters["linhas"] = linhas;
    estado.SetItemsProcessed(estado.iterations() * linhas);
}
BENCHMARK(BM_PisoConsulta)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    return Roda_Benchmarks(argc, argv, [] {
        Confere_Com_Programa();
        Confere_Consulta();
        std::fprintf(stderr, "piso conferido com o programa: mesmas linhas, ordem, códigos, totais e consulta\n");
    });
}
