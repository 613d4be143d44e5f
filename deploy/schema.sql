/* Tables of the Boticon suite that Selvar reads or writes.
 * Default character set WIN1252, SQL dialect 3. scripts/create-db puts the
 * CREATE DATABASE statement in front of this file. */

CREATE TABLE TABREV1 (
    CODIGO               VARCHAR(13) NOT NULL,
    COMPONENTE           VARCHAR(70),
    QDE                  NUMERIC(15,3),
    CODIGOEAN            VARCHAR(13),
    PRECO1               NUMERIC(15,2),
    CONSTRAINT PK_TABREV1 PRIMARY KEY (CODIGO)
);

CREATE TABLE TABREV2 (
    CODIGO               VARCHAR(13) NOT NULL,
    COMPONENTE           VARCHAR(70),
    QDE                  NUMERIC(15,3),
    CODIGOEAN            VARCHAR(13),
    PRECO1               NUMERIC(15,2),
    CONSTRAINT PK_TABREV2 PRIMARY KEY (CODIGO)
);

CREATE TABLE ETIQPAR (
    MODELO               VARCHAR(2) NOT NULL,
    DESCRICAO            VARCHAR(60),
    MESQ                 INTEGER,
    MDIR                 INTEGER,
    MTOP                 INTEGER,
    MROD                 INTEGER,
    ESPV                 INTEGER,
    PAPEL                VARCHAR(20),
    QDECOL               INTEGER,
    ETIQALT              INTEGER,
    ETIQLART             INTEGER,
    ETIQMESQ             INTEGER,
    ETIQMDIR             INTEGER,
    ETIQMTOP             INTEGER,
    ETIQROD              INTEGER,
    CONSTRAINT PK_ETIQPAR PRIMARY KEY (MODELO)
);

CREATE TABLE ETIQCORR (
    MODELOCORRENTE       VARCHAR(2)
);

CREATE TABLE ESTACOES (
    ESTACAO              VARCHAR(3) NOT NULL,
    DATBASNAM            VARCHAR(60),
    TIPO                 VARCHAR(16),
    ATCAIXA              VARCHAR(60),
    ESVAZIAR             VARCHAR(3),
    EMUSO                VARCHAR(3),
    CAMINHOREQUISICAO    VARCHAR(80),
    CAMINHOOM            VARCHAR(80),
    CAMINHOECF           VARCHAR(80),
    CAMINHOSEQUENCIAL1   VARCHAR(80),
    CAMINHO2             VARCHAR(80),
    ROTULO1              VARCHAR(80),
    ROTULO2              VARCHAR(80),
    ROTULO3              VARCHAR(80),
    ROTULO4              VARCHAR(80),
    ROTULO5              VARCHAR(80),
    ROTULO6              VARCHAR(80),
    USUARIO              VARCHAR(60),
    CNPJ                 VARCHAR(14),
    CONSTRAINT PK_ESTACOES PRIMARY KEY (ESTACAO)
);

CREATE TABLE COMPONEN (
    CODIGO               VARCHAR(20) NOT NULL,
    COMPONENTE           VARCHAR(70),
    GRUPO                VARCHAR(5),
    FAMILIA              VARCHAR(30),
    UNID                 VARCHAR(4),
    CONTROLADA           VARCHAR(3),
    CUSTOUNITUS          NUMERIC(15,8),
    CUSTOUNITR           NUMERIC(15,8),
    MULTIPLICADOR        NUMERIC(15,8),
    DIVISORUNID          NUMERIC(15,8),
    PRECOUS              NUMERIC(15,8),
    PRECOR               NUMERIC(15,8),
    QDEESTOQUE           DOUBLE PRECISION,
    ESTOQUECRITICO       DOUBLE PRECISION,
    ESTOQUEMAXIMO        DOUBLE PRECISION,
    TRIBUTACAO           VARCHAR(3),
    ICMS                 NUMERIC(15,8),
    FABRICANTE           VARCHAR(40),
    FORNECEDOR           VARCHAR(40),
    LOTE                 VARCHAR(30),
    FATORCORRECAO        NUMERIC(15,8),
    DENSIDADE            NUMERIC(15,8),
    USAEXCIPIENTE        VARCHAR(1),
    DOSAGEMMIN           NUMERIC(15,8),
    DOSAGEMMAX           NUMERIC(15,8),
    DOSEMINPERC          NUMERIC(15,8),
    DOSEMAXPERC          NUMERIC(15,8),
    FICHATECNICA         BLOB SUB_TYPE 0,
    EXCIPIENTE           VARCHAR(40),
    VALIDADE             TIMESTAMP,
    DCB                  VARCHAR(15),
    LISTA                VARCHAR(2),
    USOCONTINUO          VARCHAR(1),
    VALIDADEPRODMANIP    NUMERIC(15,8),
    FATORDILUICAO        NUMERIC(15,8),
    CORCAPSULA           VARCHAR(25),
    COMISSAO             NUMERIC(15,8),
    MEQ                  NUMERIC(15,8),
    GRUPOF               VARCHAR(1),
    TEMPOMANIP           INTEGER,
    BC                   NUMERIC(15,8),
    UNID_VENDA           VARCHAR(4),
    CUSTOFIXO            NUMERIC(15,8),
    USAR_FORMPRECO       VARCHAR(1),
    GRUPOS               VARCHAR(12),
    TIPORECEITA          VARCHAR(5),
    REGMSMEDICAM         VARCHAR(15),
    EXCIPIENTE2          VARCHAR(40),
    EXCIPIENTE3          VARCHAR(40),
    EXCIPIENTE4          VARCHAR(40),
    EXCIPIENTE5          VARCHAR(40),
    CLASSE               VARCHAR(20),
    DESCONTO             NUMERIC(15,8),
    CONDARMAZENA         VARCHAR(240),
    ALIQIPI              NUMERIC(15,8),
    ALIQISS              NUMERIC(15,8),
    BASEICMS             NUMERIC(15,8),
    SUBSTRIB             VARCHAR(1),
    LUCROST              NUMERIC(15,8),
    ICMSECF              NUMERIC(15,8),
    CST                  NUMERIC(15,8),
    NOMECIENTIFICO       VARCHAR(40),
    GRUPOPRECO           VARCHAR(60),
    CONSTRAINT PK_COMPONEN PRIMARY KEY (CODIGO)
);

CREATE TABLE USUARIOS (
    USUARIO              VARCHAR(30) NOT NULL,
    CODIGO               VARCHAR(10),
    SENHA                VARCHAR(20),
    ACESSO               VARCHAR(250),
    ARQUIVO              VARCHAR(80),
    LOGADO               VARCHAR(1),
    ESTACAO              VARCHAR(3),
    CONSIST_INICIAL      VARCHAR(1),
    DEFVIDEOVELTRA       VARCHAR(1),
    CONSTRAINT PK_USUARIOS PRIMARY KEY (USUARIO)
);

CREATE TABLE COMPRAS (
    ESTACAO              VARCHAR(3) NOT NULL,
    CODCOMPRA            INTEGER NOT NULL,
    DATA                 TIMESTAMP NOT NULL,
    NOTAFISCAL           VARCHAR(15) NOT NULL,
    FORNECEDOR           VARCHAR(40),
    COMPONENTE           VARCHAR(70),
    LOTE                 VARCHAR(30),
    QUANTIDADE           NUMERIC(15,8),
    UNIDADE              VARCHAR(4),
    PRECOUNITUS          NUMERIC(15,8),
    PRECOUNITR           NUMERIC(15,8),
    FABRICACAO           TIMESTAMP,
    VALIDADE             TIMESTAMP,
    USADO                NUMERIC(15,8),
    SALDO                NUMERIC(15,8),
    ETIQUETA             VARCHAR(1),
    RESPONSAVEL          VARCHAR(40),
    CODIGO               VARCHAR(20) NOT NULL,
    SITUACAO             VARCHAR(1),
    FABRICANTE           VARCHAR(40),
    SITUACAOMATP         VARCHAR(1),
    DENSIDADE            NUMERIC(15,8),
    FATORCORRECAO        NUMERIC(15,8),
    FATORDILUICAO        NUMERIC(15,8),
    LABORATORIO          VARCHAR(40),
    CODIGOFORNECEDOR     VARCHAR(20),
    OBSERVACAO           VARCHAR(240),
    CONSTRAINT PK_COMPRAS PRIMARY KEY (ESTACAO, CODCOMPRA, DATA, NOTAFISCAL, CODIGO)
);

CREATE TABLE PERIODO (
    DATAINICIAL          TIMESTAMP,
    DATAFINAL            TIMESTAMP,
    HORAINICIAL          VARCHAR(8),
    HORAFINAL            VARCHAR(8),
    CHAVE                VARCHAR(1),
    ESTACAO              VARCHAR(3),
    NPEDIDO              INTEGER,
    NFORMULA             INTEGER,
    VALORTOTAL           NUMERIC(15,2),
    VALORTOTAL2          NUMERIC(15,2)
);

COMMIT;

/* Selvar's own: the suite-wide lock of its jobs (list build, print). Row 1 is the
 * lock, held by changing it in a transaction that lasts the whole job; row 2 names
 * the station that took it last and for what. The program adds the table to a
 * database that lacks it. */
CREATE TABLE SELVAR_TRAVA (
    ID                   INTEGER NOT NULL,
    ESTACAO              VARCHAR(3),
    TRABALHO             VARCHAR(20),
    INICIO               TIMESTAMP,
    CONSTRAINT PK_SELVAR_TRAVA PRIMARY KEY (ID)
);
INSERT INTO SELVAR_TRAVA (ID) VALUES (1);
INSERT INTO SELVAR_TRAVA (ID) VALUES (2);

/* Selvar's own: the print history. One row per job that put labels out (a
 * thermal hand-over, a sheet printed or written to PDF), numbered by
 * GEN_SELVAR_HISTORICO, and one row per product of the job with the price
 * printed and its labels (HISTORICO is the job's ID; the program removes a job's
 * products with it, so the table needs no foreign key, whose check would cost a
 * print of a thousand products more than the rows themselves). Jobs older than
 * the station's days are removed by the program. The program adds these to a
 * database that lacks them. */
CREATE TABLE SELVAR_HISTORICO (
    ID                   INTEGER NOT NULL,
    DATAHORA             TIMESTAMP NOT NULL,
    ESTACAO              VARCHAR(3),
    USUARIO              VARCHAR(60),
    MODELO               VARCHAR(2),
    DESCRICAO            VARCHAR(60),
    SAIDA                VARCHAR(10),
    ETIQUETAS            INTEGER,
    PRODUTOS             INTEGER,
    CONSTRAINT PK_SELVAR_HISTORICO PRIMARY KEY (ID)
);
CREATE INDEX IX_SELVAR_HISTORICO_DATAHORA ON SELVAR_HISTORICO (DATAHORA);

CREATE TABLE SELVAR_HISTORICO_ITEM (
    HISTORICO            INTEGER NOT NULL,
    ORDEM                INTEGER NOT NULL,
    CODIGO               VARCHAR(13),
    COMPONENTE           VARCHAR(70),
    CODIGOEAN            VARCHAR(13),
    PRECO1               NUMERIC(15,2),
    ETIQUETAS            INTEGER,
    CONSTRAINT PK_SELVAR_HISTORICO_ITEM PRIMARY KEY (HISTORICO, ORDEM)
);
CREATE DESCENDING INDEX IX_SELVAR_HISTORICO_ITEM_CODIGO ON SELVAR_HISTORICO_ITEM (CODIGO, HISTORICO);

CREATE SEQUENCE GEN_SELVAR_HISTORICO;

COMMIT;

/* Selvar's own: the stations waiting for that lock, one row each, numbered by
 * SELVAR_FILA_NUM in the order they asked; VISTO is renewed about once a second
 * by the waiting station, and a row not seen for a few seconds is a station
 * that is gone. The program adds both to a database that lacks them. */
CREATE TABLE SELVAR_FILA (
    ID                   BIGINT NOT NULL,
    ESTACAO              VARCHAR(3),
    TRABALHO             VARCHAR(20),
    VISTO                TIMESTAMP,
    CONSTRAINT PK_SELVAR_FILA PRIMARY KEY (ID)
);
CREATE SEQUENCE SELVAR_FILA_NUM;

COMMIT;
