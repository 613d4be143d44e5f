#pragma once

#include <QAbstractTableModel>
#include <QPointer>
#include <QVector>
#include <functional>

class ClientDataSet;
class DataSource;
class SelvarError;

// Shows a client data set in a QTableView: one grid column per configured
// column, the grid's current row following the data set's cursor. Leaving an
// edited row posts it, which on the write-through data sets stores it at once.
class DataSetModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    struct Column
    {
        QString title;
        QString field;
        int width = 64;
        bool readOnly = false;
    };

    explicit DataSetModel(QObject *parent = nullptr);

    void setDataSource(DataSource *source);
    DataSource *dataSource() const { return m_source; }
    ClientDataSet *dataSet() const;

    // How an error of an edit or of storing the row left is told; the message
    // box with the error's text unless the owner says otherwise.
    using ErrorHandler = std::function<void(const SelvarError &error)>;
    void setErrorHandler(ErrorHandler handler) { m_errorHandler = std::move(handler); }

    void setColumns(const QVector<Column> &columns);
    const QVector<Column> &columns() const { return m_columns; }

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role) override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

public slots:
    // The grid moved to another row: post the row being left, then move the cursor.
    void setCurrentRow(int row);

signals:
    void currentRowChanged(int row); // the data set's cursor moved (0-based)

private:
    void onDataChanged();
    void onCurrentChanged();
    int fieldIndex(int column) const;

    void report(const SelvarError &error) const;

    QPointer<DataSource> m_source;
    ErrorHandler m_errorHandler;
    QVector<Column> m_columns;
    mutable int m_knownRows = -1; // the row count the views last read, so a change of it resets them
};
