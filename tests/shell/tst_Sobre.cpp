// USA_BANCO_CENTRAL
// The About box opened from the menu, and the update against the central
// test server and an HTTPS server of the test's own, whose certificate
// authority is made here and trusted through the download's seam.
#include "common/Parametros.h"
#include "platform/App.h"
#include "platform/Baixador.h"
#include "platform/Rede.h"
#include "platform/Shell.h"
#include "platform/Tela.h"
#include "shell/ApoioShell.h"
#include "shell/Sobre.h"
#include "support/Ambiente.h"
#include "support/Interacao.h"
#include "support/Registro.h"
#include <QSslKey>
#include <QSslSocket>
#include <QTcpServer>

namespace {
// One answer per connection: the whole file, a 404, or half of the file
// before the connection closes.
struct ServidorHttps : QTcpServer {
    enum Modo { Inteiro, Falta, Cortado } modo = Inteiro;
    QByteArray corpo;
    int pedidos = 0;
    QSslCertificate certificado;
    QSslKey chave;

    void incomingConnection(qintptr descritor) override {
        auto* s = new QSslSocket(this);
        s->setSocketDescriptor(descritor);
        s->setLocalCertificate(certificado);
        s->setPrivateKey(chave);
        connect(s, &QSslSocket::readyRead, s, [this, s] {
            s->setProperty("p", s->property("p").toByteArray() + s->readAll());
            if (!s->property("p").toByteArray().contains("\r\n\r\n")) return;
            ++pedidos;
            if (modo == Falta)
                s->write("HTTP/1.1 404 Not Found\r\nContent-Length: 9\r\nConnection: close\r\n\r\nNot Found");
            else
                s->write("HTTP/1.1 200 OK\r\nConnection: close\r\nContent-Length: " + QByteArray::number(corpo.size()) +
                         "\r\n\r\n" + (modo == Cortado ? corpo.left(corpo.size() / 2) : corpo));
            s->disconnectFromHost();
        });
        connect(s, &QSslSocket::disconnected, s, &QObject::deleteLater);
        s->startServerEncryption();
    }
};

const QByteArray Atualizador =
    "#!/bin/sh\necho atualizado > \"$(dirname \"$0\")/marca.txt\"\n" + QByteArray(4000, '#') + "\n";
}  // namespace

class tst_Sobre : public QObject {
    Q_OBJECT
    QTemporaryDir certs;
    QList<QSslCertificate> autoridade;
    ServidorHttps servidor;

    Sobre* abre() {
        Inicia_Principal(QStringLiteral("ANA"))->Sobre_Sis->trigger();
        return qobject_cast<Sobre*>(Form::Procura(QStringLiteral("Sobre")));
    }
    static QStringList arquivos(const Ambiente& amb) {
        return QDir(amb.Pasta()).entryList({QStringLiteral("Atualiza*"), QStringLiteral("marca.txt")}, QDir::Files);
    }

private slots:
    void initTestCase() {
        const QString comandos[] = {
            "req -x509 -newkey rsa:2048 -nodes -keyout ca.key -out ca.pem -days 2 -subj /CN=Autoridade_de_Teste "
            "-addext basicConstraints=critical,CA:TRUE -addext keyUsage=critical,keyCertSign,cRLSign",
            "req -newkey rsa:2048 -nodes -keyout srv.key -out srv.csr -subj /CN=127.0.0.1",
            "x509 -req -in srv.csr -CA ca.pem -CAkey ca.key -CAcreateserial -out srv.pem -days 2 -extfile ext"};
        QFile ext(certs.filePath("ext"));
        QVERIFY(ext.open(QIODevice::WriteOnly) && ext.write("subjectAltName=IP:127.0.0.1\nextendedKeyUsage=serverAuth\n"));
        ext.close();
        for (const QString& c : comandos) {
            QProcess p;
            p.setWorkingDirectory(certs.path());
            p.start("openssl", c.split(' '));
            QVERIFY(p.waitForFinished(30000) && p.exitCode() == 0);
        }
        autoridade = QSslCertificate::fromPath(certs.filePath("ca.pem"));
        servidor.certificado = QSslCertificate::fromPath(certs.filePath("srv.pem")).value(0);
        QFile chave(certs.filePath("srv.key"));
        QVERIFY(chave.open(QIODevice::ReadOnly));
        servidor.chave = QSslKey(chave.readAll(), QSsl::Rsa);
        QVERIFY(!autoridade.isEmpty() && !servidor.chave.isNull());
        QVERIFY(servidor.listen(QHostAddress(TESOURARIA_ATUALIZACAO_HOST), TESOURARIA_ATUALIZACAO_PORTA));
    }
    void init() {
        Rede::DefineConectado([] { return true; });
        Baixador::ConfiaAutoridades(autoridade);
        servidor.pedidos = 0;
    }
    void cleanup() {
        Fecha_Tudo();
        Rede::DefineConectado(nullptr);
        Rede::DefineSonda(nullptr);
        Baixador::ConfiaAutoridades({});
    }

    void janela_novidades_e_links() {
        Ambiente amb;
        amb.Parametros(7, "SETOR", "IGREJA", "S", 3, 2024, "IGREJA DO BAIRRO ALTO");
        QVERIFY(Versao_Central({"1.0.30"}));
        QStringList abertos;
        Shell::DefineAcao([&](const QString& alvo) { abertos << alvo; });
        Sobre* s = abre();
        QCOMPARE(Screen::MousePointerAtual(), 0);
        QCOMPARE(s->LblRazao->Caption(), QStringLiteral("IGREJA DO BAIRRO ALTO"));
        QCOMPARE(s->LblComputador->Caption(), "Processador: " + QString::number(QCoreApplication::applicationPid()));
        QCOMPARE(s->CmdVeja->Caption(), "Veja as novidades da versão V. " + App::Versao());
        QCOMPARE(s->CmdAtualize->Caption(), QStringLiteral("Atualize o Marlovinter para a versão 1.0.30"));
        const QStringList linhas = Linhas(s->LstSobre);
        QCOMPARE(linhas.size(), 67);
        QCOMPARE(linhas.count(QString()), 6);
        QCOMPARE(linhas.filter(QRegularExpression("^» [A-Z]")).size(), 25);
        QCOMPARE(linhas.mid(46, 3), (QStringList{"» EXPORTAÇÕES / DADOS PARA TV / MONITOR",
                                                 "  - Caso haja falha de conexão, o sistema sugere intalação",
                                                 "    do Kwe-Connector-532."}));
        QCOMPARE(linhas.last(), QStringLiteral("  - Permite atualizar versão em modo manual ou automático"));

        // Out of view at first; in view, with "Fechar", after CmdVeja.
        QVERIFY(s->LstSobre->x() >= s->width() && s->CmdFechar->isHidden());
        QTest::mouseClick(s->CmdVeja, Qt::LeftButton);
        QVERIFY(s->rect().contains(s->LstSobre->geometry()) && s->CmdFechar->isVisible());
        QTest::mouseClick(s->CmdFechar, Qt::LeftButton);
        QVERIFY(s->LstSobre->x() >= s->width() && s->CmdFechar->isHidden());

        Rede::DefineConectado([] { return false; });
        for (CommandButton* b : {s->CmdAcesse, s->CmdAssista, s->CmdAtualize}) {
            Roteiro::Responde(vbOK);
            QTest::mouseClick(b, Qt::LeftButton);
            const Roteiro::Caixa& c = Roteiro::Caixas().back();
            QCOMPARE(c.prompt + '|' + c.titulo, "Não há Conexão com a Internet!\rExamine e tente novamente.|Atenção ANA");
            QCOMPARE(c.estilo, vbExclamation);
        }
        Rede::DefineConectado([] { return true; });
        QTest::mouseClick(s->CmdAcesse, Qt::LeftButton);
        QTest::mouseClick(s->CmdAssista, Qt::LeftButton);
        QCOMPARE(abertos, (QStringList{TESOURARIA_PAGINA_AUTOR, TESOURARIA_PAGINA_VIDEO}));
        QCOMPARE(servidor.pedidos, 0);
    }

    void atualizacao_que_nao_baixa() {
        const char* atual = "Sua versão já está atualizada.";
        const char* sem = "Sua Conexão não alcança a base Vendral!\rExamine e tente novamente.";
        struct Caso {
            QStringList central;
            const char* servidor;  // "127.x": that address; "mudo": silence
            const char* prompt;
        };
        const Caso casos[] = {
            {{App::Versao()}, "", atual}, {{"1.0.20"}, "", atual},
            {{"1.0.100"}, "", atual},  // compared as text
            {{}, "", atual},           // the view is empty: the program's own version
            {{"1.0.99"}, "127.0.0.2", sem}, {{"1.0.99"}, "mudo", sem},
        };
        for (const Caso& c : casos) {
            Ambiente amb;
            QVERIFY(Versao_Central(c.central));
            Sobre* s = abre();
            const QString alvo = QString::fromLatin1(c.servidor);
            Param[11] = alvo.startsWith("127.") ? alvo : QStringLiteral(TESOURARIA_SERVIDOR_CENTRAL);
            if (alvo == "mudo") Rede::DefineSonda([](const QString&, int, int) { return false; });
            Roteiro::LimpaCaixas();
            Roteiro::Responde(vbOK);
            QTest::mouseClick(s->CmdAtualize, Qt::LeftButton);
            QCOMPARE(Roteiro::Caixas().size(), size_t(1));
            QCOMPARE(Roteiro::Caixas()[0].prompt, QString::fromUtf8(c.prompt));
            QCOMPARE(Roteiro::Caixas()[0].estilo, c.prompt == atual ? vbInformation : vbExclamation);
            QVERIFY(servidor.pedidos == 0 && arquivos(amb).isEmpty());
            Rede::DefineSonda(nullptr);
            Fecha_Tudo();
        }
    }

    void atualizacao_de_ponta_a_ponta() {
        Ambiente amb;
        QVERIFY(Versao_Central({"1.0.3"}));  // newer than 1.0.21 as text
        servidor.corpo = Atualizador;
        Sobre* s = abre();
        Roteiro::LimpaCaixas();
        // Nothing that did not arrive whole from a trusted server is kept or
        // run, and a left-over of an earlier attempt is not taken for one.
        const std::tuple<bool, ServidorHttps::Modo, int> falhas[] = {
            {false, ServidorHttps::Inteiro, 0}, {true, ServidorHttps::Falta, 1}, {true, ServidorHttps::Cortado, 2}};
        for (const auto& [confia, modo, pedidos] : falhas) {
            QFile velho(amb.Pasta() + "/Atualiza.xxx");
            QVERIFY(velho.open(QIODevice::WriteOnly) && velho.write(Atualizador));
            velho.close();
            Baixador::ConfiaAutoridades(confia ? autoridade : QList<QSslCertificate>());
            servidor.modo = modo;
            QTest::mouseClick(s->CmdAtualize, Qt::LeftButton);
            QCOMPARE(servidor.pedidos, pedidos);
            QCOMPARE(arquivos(amb), QStringList());
            QVERIFY(Roteiro::Caixas().empty() && !s->testAttribute(Qt::WA_SetCursor));
        }

        Baixador::ConfiaAutoridades(autoridade);
        servidor.modo = ServidorHttps::Inteiro;
        Roteiro::Responde(vbNo);
        QTest::mouseClick(s->CmdAtualize, Qt::LeftButton);
        QCOMPARE(Roteiro::Caixas().back().prompt, QStringLiteral("O sistema será fechado para atualização. OK ?"));
        QCOMPARE(Roteiro::Caixas().back().estilo, vbYesNo + vbQuestion);
        QCOMPARE(arquivos(amb), QStringList{"Atualiza.exe"});
        QFile exe(amb.Pasta() + "/Atualiza.exe");
        QVERIFY(exe.open(QIODevice::ReadOnly) && exe.readAll() == Atualizador && (exe.permissions() & QFile::ExeOwner));

        // Offered again without a download, and started on Yes as the program ends.
        Roteiro::Responde(vbYes);
        QVERIFY(Termina_Programa([&] { s->CmdAtualize->click(); }));
        QCOMPARE(servidor.pedidos, 3);
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(amb.Pasta() + "/marca.txt"), 5000);
    }
};

REGISTRA_TESTE(tst_Sobre)
#include "tst_Sobre.moc"
