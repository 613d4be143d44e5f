#include "TableDefs.h"

#include <QStringList>

namespace TableDefs {

namespace {

FieldDef text(const char *name, int size) { return FieldDef::text(QString::fromLatin1(name), size); }
FieldDef integer(const char *name) { return FieldDef::integer(QString::fromLatin1(name)); }
FieldDef dec(const char *name, int precision, int scale) { return FieldDef::decimal(QString::fromLatin1(name), precision, scale); }
FieldDef dec8(const char *name) { return dec(name, 15, 8); }
FieldDef dbl(const char *name) { return FieldDef::floating(QString::fromLatin1(name)); }

} // namespace

FieldDefs tabRev()
{
    return {
        text("CODIGO", 13).asKey(),
        text("COMPONENTE", 70),
        dec("QDE", 15, 3),
        text("CODIGOEAN", 13),
        dec("PRECO1", 15, 2).withDisplayFormat(QStringLiteral("0.00")),
    };
}

FieldDefs etiqPar()
{
    return {
        text("MODELO", 2).asKey(), text("DESCRICAO", 60), integer("MESQ"), integer("MDIR"), integer("MTOP"),
        integer("MROD"), integer("ESPV"), text("PAPEL", 20), integer("QDECOL"), integer("ETIQALT"),
        integer("ETIQLART"), integer("ETIQMESQ"), integer("ETIQMDIR"), integer("ETIQMTOP"), integer("ETIQROD"),
    };
}

FieldDefs etiqCorr()
{
    return {text("MODELOCORRENTE", 2)};
}

FieldDefs estacoes()
{
    return {
        text("ESTACAO", 3).asKey(), text("DATBASNAM", 60), text("TIPO", 16), text("ATCAIXA", 60),
        text("ESVAZIAR", 3), text("EMUSO", 3), text("CAMINHOREQUISICAO", 80), text("CAMINHOOM", 80),
        text("CAMINHOECF", 80), text("CAMINHOSEQUENCIAL1", 80), text("CAMINHO2", 80), text("ROTULO1", 80),
        text("ROTULO2", 80), text("ROTULO3", 80), text("ROTULO4", 80), text("ROTULO5", 80), text("ROTULO6", 80),
        text("USUARIO", 60), text("CNPJ", 14),
    };
}

FieldDefs componen()
{
    return {
        text("CODIGO", 20).asKey(), text("COMPONENTE", 70), text("GRUPO", 5),
        text("FAMILIA", 30), text("UNID", 4), text("CONTROLADA", 3),
        dec8("CUSTOUNITUS"), dec8("CUSTOUNITR"), dec8("MULTIPLICADOR"),
        dec8("DIVISORUNID"), dec8("PRECOUS"), dec8("PRECOR"),
        dbl("QDEESTOQUE"), dbl("ESTOQUECRITICO"), dbl("ESTOQUEMAXIMO"),
        text("TRIBUTACAO", 3), dec8("ICMS"), text("FABRICANTE", 40),
        text("FORNECEDOR", 40), text("LOTE", 30), dec8("FATORCORRECAO"),
        dec8("DENSIDADE"), text("USAEXCIPIENTE", 1), dec8("DOSAGEMMIN"),
        dec8("DOSAGEMMAX"), dec8("DOSEMINPERC"), dec8("DOSEMAXPERC"),
        FieldDef::blob(QStringLiteral("FICHATECNICA")), text("EXCIPIENTE", 40), FieldDef::timestamp(QStringLiteral("VALIDADE")),
        text("DCB", 15), text("LISTA", 2), text("USOCONTINUO", 1),
        dec8("VALIDADEPRODMANIP"), dec8("FATORDILUICAO"), text("CORCAPSULA", 25),
        dec8("COMISSAO"), dec8("MEQ"), text("GRUPOF", 1),
        integer("TEMPOMANIP"), dec8("BC"), text("UNID_VENDA", 4),
        dec8("CUSTOFIXO"), text("USAR_FORMPRECO", 1), text("GRUPOS", 12),
        text("TIPORECEITA", 5), text("REGMSMEDICAM", 15), text("EXCIPIENTE2", 40),
        text("EXCIPIENTE3", 40), text("EXCIPIENTE4", 40), text("EXCIPIENTE5", 40),
        text("CLASSE", 20), dec8("DESCONTO"), text("CONDARMAZENA", 240),
        dec8("ALIQIPI"), dec8("ALIQISS"), dec8("BASEICMS"),
        text("SUBSTRIB", 1), dec8("LUCROST"), dec8("ICMSECF"),
        dec8("CST"), text("NOMECIENTIFICO", 40), text("GRUPOPRECO", 60),
    };
}

// The three tables below are declared for the suite but never opened by this
// program; the types of the columns the suite does not document are ours.
FieldDefs usuarios()
{
    return {
        text("USUARIO", 30).asKey(), text("CODIGO", 10), text("SENHA", 20), text("ACESSO", 250),
        text("ARQUIVO", 80), text("LOGADO", 1), text("ESTACAO", 3), text("CONSIST_INICIAL", 1),
        text("DEFVIDEOVELTRA", 1),
    };
}

FieldDefs compras()
{
    return {
        text("ESTACAO", 3).asKey(), integer("CODCOMPRA").asKey(), FieldDef::timestamp(QStringLiteral("DATA")).asKey(),
        text("NOTAFISCAL", 15).asKey(), text("FORNECEDOR", 40), text("COMPONENTE", 70), text("LOTE", 30),
        dec8("QUANTIDADE"), text("UNIDADE", 4), dec8("PRECOUNITUS"), dec8("PRECOUNITR"),
        FieldDef::timestamp(QStringLiteral("FABRICACAO")), FieldDef::timestamp(QStringLiteral("VALIDADE")),
        dec8("USADO"), dec8("SALDO"), text("ETIQUETA", 1), text("RESPONSAVEL", 40), text("CODIGO", 20).asKey(),
        text("SITUACAO", 1), text("FABRICANTE", 40), text("SITUACAOMATP", 1), dec8("DENSIDADE"),
        dec8("FATORCORRECAO"), dec8("FATORDILUICAO"), text("LABORATORIO", 40), text("CODIGOFORNECEDOR", 20),
        text("OBSERVACAO", 240),
    };
}

FieldDefs periodo()
{
    return {
        FieldDef::timestamp(QStringLiteral("DATAINICIAL")), FieldDef::timestamp(QStringLiteral("DATAFINAL")),
        text("HORAINICIAL", 8), text("HORAFINAL", 8), text("CHAVE", 1), text("ESTACAO", 3),
        integer("NPEDIDO"), integer("NFORMULA"), dec("VALORTOTAL", 15, 2), dec("VALORTOTAL2", 15, 2),
    };
}

QString columnList(const FieldDefs &defs)
{
    QStringList names;
    for (const FieldDef &def : defs)
        names << def.name;
    return names.join(QStringLiteral(", "));
}

} // namespace TableDefs
