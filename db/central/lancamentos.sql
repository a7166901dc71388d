-- The central reference tables the transmission reads and the entries table
-- it writes, as the central system keeps them. InnoDB throughout, so a send
-- applies whole or rolls back. Re-runnable: tests share the server and set
-- their own rows, so loading again never drops anything.

CREATE TABLE IF NOT EXISTS tblcongregacoes (
    codigo INT NOT NULL,
    nome   VARCHAR(100) NULL,
    setor  INT NULL,  -- NULL: a congregation of no known sector
    UNIQUE KEY tblcongregacoes_codigo (codigo),
    KEY tblcongregacoes_setor (setor)
) ENGINE=InnoDB CHARACTER SET utf8mb4;

-- Cash boxes of the congregations; codes go beyond 16 bits.
CREATE TABLE IF NOT EXISTS tblcaixas (
    Codigo      INT NOT NULL,
    Descricao   VARCHAR(100) NULL,
    congregacao INT NULL,
    KEY tblcaixas_codigo (Codigo),
    KEY tblcaixas_congregacao (congregacao)
) ENGINE=InnoDB CHARACTER SET utf8mb4;

-- A box's month summary: fechado 1 once the month is closed.
CREATE TABLE IF NOT EXISTS tblresumomes (
    fechado       INT NULL,
    mes           INT NOT NULL,
    ano           INT NOT NULL,
    codigocentral INT NOT NULL,
    KEY tblresumomes_caixa (codigocentral, ano, mes)
) ENGINE=InnoDB CHARACTER SET utf8mb4;

-- Chart of accounts: codseq the account number written in the histories,
-- reduzido the number the entries carry.
CREATE TABLE IF NOT EXISTS tblcontas (
    codseq    BIGINT NOT NULL,
    reduzido  INT NULL,
    Descricao VARCHAR(100) NULL,
    tipo      VARCHAR(1) NULL,
    UNIQUE KEY tblcontas_codseq (codseq)
) ENGINE=InnoDB CHARACTER SET utf8mb4;

-- One row per transmitted cash-book entry. A congregation's month is the
-- rows of its congregacao, mes, ano and protocolo 'TQR'; tipo 'C' an entry,
-- 'D' an outflow.
CREATE TABLE IF NOT EXISTS tbllanc (
    id             BIGINT NOT NULL AUTO_INCREMENT PRIMARY KEY,
    mes            INT NULL,
    ano            INT NULL,
    valor          DECIMAL(12,2) NULL,
    membro         BIGINT NULL,
    funcionario    INT NULL,
    frequentador   INT NULL,
    data           DATE NULL,
    hora           TIME NULL,
    numero         INT NULL,
    chequebanco    VARCHAR(10) NULL,
    chequenumero   VARCHAR(20) NULL,
    chequeagencia  VARCHAR(10) NULL,
    chequevalor    DECIMAL(12,2) NULL,
    chequedata     DATE NULL,
    nomeportador   VARCHAR(100) NULL,
    setor          INT NULL,
    congregacao    INT NULL,
    mesreferencia  VARCHAR(6) NULL,
    celula         INT NULL,
    caixa          INT NULL,
    contacredito   VARCHAR(20) NULL,
    conta          INT NULL,
    caixacredito   INT NULL,
    tipo           VARCHAR(1) NULL,
    fornecedor     INT NULL,
    departamento   INT NULL,
    formapagto     INT NULL,
    culto          INT NULL,
    tipoorigem     VARCHAR(10) NULL,
    horario        DATETIME NULL,
    protocolo      VARCHAR(10) NULL,
    historico      VARCHAR(100) NULL,
    transacao      VARCHAR(10) NULL,
    impcheck       VARCHAR(10) NULL,
    datadevolucao  DATE NULL,
    semana         INT NULL,
    grupoconta     INT NULL,
    outros         VARCHAR(100) NULL,
    nomeoutro      VARCHAR(100) NULL,
    codlote        INT NULL,
    centrocusto    INT NULL,
    comprovante    VARCHAR(50) NULL,
    tipoplanilha   VARCHAR(10) NULL,
    vlr1           DECIMAL(12,2) NULL,
    forma1         INT NULL,
    vlr2           DECIMAL(12,2) NULL,
    forma2         INT NULL,
    vlr3           DECIMAL(12,2) NULL,
    forma3         INT NULL,
    anexo          VARCHAR(100) NULL,
    parcela        VARCHAR(10) NULL,
    codparcela     INT NULL,
    competencia    VARCHAR(6) NULL,
    datapgto       DATE NULL,
    fiscalsn       VARCHAR(1) NULL,
    ard            VARCHAR(10) NULL,
    usuario        INT NULL,
    KEY tbllanc_mes (congregacao, ano, mes, protocolo)
) ENGINE=InnoDB CHARACTER SET utf8mb4;
