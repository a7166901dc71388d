#include "common/Erros.h"
#include "platform/App.h"
#include "platform/Controles.h"
#include "platform/MsgBox.h"
#include "platform/Shell.h"
#include "platform/Tela.h"
#include <QFileInfo>
#include <map>
#include <new>
#include <stdexcept>

double Num_Erro = 0;

namespace {
const QChar CR = QChar(13);
const QString Instalador = QStringLiteral("Kwe-Connector-532.msi");

// The program's own messages, word for word.
const std::map<long, QString>& Tabela() {
    static const std::map<long, QString> t = {
        {13, QStringLiteral("Tipo Incompatível.")},
        {52, QStringLiteral("Nº de Arquivo Inválido ou Fechado.")},
        {53, QStringLiteral("Arquivo / Caminho Inválidos ou Inexistentes.")},
        {62, QStringLiteral("Ponteiro passou do último registro.")},
        {68, QStringLiteral("Dispositivo Inválido ou Inexistente.")},
        {91, QStringLiteral("O objeto não é válido ou não está definido.")},
        {3420, QStringLiteral("O objeto não é válido ou não está definido.")},
        {94, QStringLiteral("Campo obrigatório não aceita Nulo.")},
        {380, QStringLiteral("Valor impróprio para o Campo especificado.")},
        {438, QStringLiteral("Objeto não suporta a propriedade ou método solicitado.")},
        {481, QStringLiteral("Tipo de Imagem inválida ou corrompida.")},
        {482, QStringLiteral("Verifique se a Impressora existe, se está ligada e se tem papel.")},
        {484, QStringLiteral("Erro de Comunicação. Verifique a configuração da Impressora.")},
        {3011, QStringLiteral("Impossivel abrir Banco de Dados.")},
        {3021, QStringLiteral("Registro não encontrado.")},
        {3022, QStringLiteral("Valor duplicado no índice, chave primária ou relacionamento.")},
        {3044, QStringLiteral("Caminho não é Valido.")},
        {3061, QStringLiteral("Podem existir campos em branco que a Tabela de Dados exige preenchidos.")},
        {3315, QStringLiteral("Podem existir campos em branco que a Tabela de Dados exige preenchidos.")},
        {3075, QStringLiteral("Erro de sintaxe na expressão de consulta.")},
        {3086, QStringLiteral("Não é possivel excluir nas tabelas especificadas.")},
        {3151, QStringLiteral("A conexão com a base de dados não foi estabelecida.") + CR +
                   QStringLiteral("Para solucionar, instale o Kwe-Connector-532.") + CR +
                   QStringLiteral("O Arquivo deve estar na pasta do sistema.")},
        {3186, QStringLiteral("Não é possivel salvar, atualmente bloqueado por outro usuário.")},
        {3189, QStringLiteral("Impossivel abrir Tabela.")},
        {3197, QStringLiteral("Outro usuário atualizando este registro.")},
        {3201, QStringLiteral("Não é possivel adicionar ou alterar registros. ") + CR +
                   QStringLiteral("A integridade referencial requer um registro relacionado ") +
                   QStringLiteral("em outras tabelas.")},
        {3202, QStringLiteral("Não é possível salvar; atualmente bloqueado por um outro usuário.")},
        {3260, QStringLiteral("Não é possível salvar; atualmente bloqueado por um outro usuário.")},
        {3265, QStringLiteral("Campo de tabela ou Parâmetro de Procedure informado não encontrado.")},
        {3421, QStringLiteral("Erro de conversão de tipo de dados.")},
        {3704, QStringLiteral("Parâmetros insuficientes para a operação ou Banco de Dados fechado.")},
        {3705, QStringLiteral("Parâmetros insuficientes para a operação ou Banco de Dados aberto anteriormente.")},
        {8012, QStringLiteral("O dispositivo de comunicação não pode ser aberto.")},
        {20500, QStringLiteral("Não há memória suficiente para executar o relatório.")},
        {20507, QStringLiteral("Nome do arquivo de relatório (RPT) inválido ou inexistente.")},
    };
    return t;
}

// Standard texts for numbers the table above lacks.
const std::map<long, QString>& Padroes() {
    static const std::map<long, QString> t = {
        {5, QStringLiteral("Chamada de procedimento ou argumento inválido.")},
        {6, QStringLiteral("Estouro de capacidade.")},
        {7, QStringLiteral("Memória insuficiente.")},
        {9, QStringLiteral("Subscrito fora do intervalo.")},
        {11, QStringLiteral("Divisão por zero.")},
        {28, QStringLiteral("Espaço de pilha insuficiente.")},
        {55, QStringLiteral("Arquivo já aberto.")},
        {57, QStringLiteral("Erro de entrada/saída no dispositivo.")},
        {58, QStringLiteral("Arquivo já existe.")},
        {61, QStringLiteral("Disco cheio.")},
        {67, QStringLiteral("Arquivos em excesso.")},
        {70, QStringLiteral("Permissão negada.")},
        {71, QStringLiteral("Disco não está pronto.")},
        {75, QStringLiteral("Erro de acesso ao caminho ou arquivo.")},
        {76, QStringLiteral("Caminho não encontrado.")},
        {381, QStringLiteral("Índice de matriz de propriedades inválido.")},
        {3010, QStringLiteral("A tabela já existe.")},
        {3024, QStringLiteral("Arquivo de banco de dados não encontrado.")},
        {3027, QStringLiteral("Não é possível atualizar. O banco de dados ou objeto é somente leitura.")},
        {3031, QStringLiteral("Senha inválida.")},
        {3043, QStringLiteral("Erro de disco ou de rede.")},
        {3050, QStringLiteral("Não foi possível bloquear o arquivo.")},
        {3051, QStringLiteral("Não foi possível abrir o arquivo de banco de dados.")},
        {3078, QStringLiteral("Tabela ou consulta de entrada não encontrada.")},
        {3085, QStringLiteral("Função não definida na expressão.")},
        {3129, QStringLiteral("Instrução SQL inválida; esperava-se DELETE, INSERT, PROCEDURE, SELECT ou UPDATE.")},
        {3142, QStringLiteral("Caracteres encontrados após o final da instrução SQL.")},
        {3146, QStringLiteral("ODBC--falha na chamada.")},
        {3163, QStringLiteral("O campo é pequeno demais para a quantidade de dados que se tentou adicionar.")},
        {3219, QStringLiteral("Operação inválida.")},
        {3317, QStringLiteral("Um ou mais valores são proibidos pela regra de validação da tabela.")},
        {3343, QStringLiteral("Formato de banco de dados não reconhecido.")},
    };
    return t;
}

const QString Generico = QStringLiteral("Erro definido pelo aplicativo ou pelo objeto.");

QString Texto_Padrao(long n, const QString& descricao) {
    auto it = Padroes().find(n);
    if (it != Padroes().end()) return it->second;
    // An engine's own wording is still better than nothing.
    if (!descricao.trimmed().isEmpty()) return descricao;
    return Generico;
}

// The table's name named between apostrophes in the engine's description,
// searched from the fifth character on; empty when it does not name one.
QString Tabela_Da_Descricao(const QString& descricao) {
    const int p1 = descricao.indexOf(QLatin1Char('\''), 4);
    if (p1 < 0) return {};
    const int p2 = descricao.indexOf(QLatin1Char('\''), p1 + 1);
    if (p2 < 0) return {};
    return descricao.mid(p1 + 1, p2 - p1 - 1);
}
}  // namespace

QString Texto_Erro(long numero, const QString& descricao) {
    if (numero == 3146)
        return QStringLiteral("A conexão com a base de dados foi interrompida.") + CR +
               QStringLiteral("Para solucionar, feche todo o sistema e reabra-o.") + CR + Texto_Padrao(3146, {});
    if (numero == 3200)
        return QStringLiteral("Não é possível excluir ou alterar registros. ") +
               QStringLiteral("Já que existem registros relacionados na tabela ") + Tabela_Da_Descricao(descricao) +
               QStringLiteral(", a integridade referencial seria violada.");
    auto it = Tabela().find(numero);
    if (it != Tabela().end()) return it->second;
    return Texto_Padrao(numero, descricao);
}

bool Trata_Erro(long numero, const QString& descricao) {
    Num_Erro = double(numero);
    bool resultado = true;
    if (numero != 0) {
        const QString titulo = QStringLiteral("<<< Ocorrência de Erro ") + QString::number(numero) + QStringLiteral(" >>>");
        const QString prompt = Texto_Erro(numero, descricao) + CR + QStringLiteral("Contacte área de Sistemas.") + CR +
                               QStringLiteral("Continua Tentando ?");
        const int resposta = MsgBox(prompt, vbYesNo + vbCritical, titulo);
        resultado = resposta == vbYes;
        if (resultado && numero == 3151) {
            const QString caminho = App::Path() + QLatin1Char('/') + Instalador;
            if (QFileInfo(caminho).isFile()) {
                Shell::Abre(caminho);
                resultado = false;
            }
        }
    }
    DoEvents();
    Screen::MousePointer(0);
    return resultado;
}

bool Trata_Erro(const ErroExecucao& e) { return Trata_Erro(e.Number, e.Description); }

ErroExecucao Converte_Excecao(const std::exception& e) {
    if (dynamic_cast<const std::bad_alloc*>(&e)) return ErroExecucao(7, QString::fromLocal8Bit(e.what()));
    if (dynamic_cast<const std::out_of_range*>(&e)) return ErroExecucao(9, QString::fromLocal8Bit(e.what()));
    return ErroExecucao(5, QString::fromLocal8Bit(e.what()));
}

namespace {
// An error that escaped an event handler: its event is over, so the answer
// to "Continua Tentando ?" has nothing left to run again.
void Trata_Erro_Evento(const std::exception& e) {
    if (const auto* erro = dynamic_cast<const ErroExecucao*>(&e)) Trata_Erro(*erro);
    else Trata_Erro(Converte_Excecao(e));
}
[[maybe_unused]] const bool tratadorInstalado = (Define_Tratador_Eventos(Trata_Erro_Evento), true);
}  // namespace

bool Tenta(const std::function<void()>& passo) {
    for (;;) {
        try {
            passo();
            return true;
        } catch (const ErroExecucao& e) {
            if (!Trata_Erro(e)) return false;
        } catch (const std::exception& e) {
            if (!Trata_Erro(Converte_Excecao(e))) return false;
        }
    }
}
