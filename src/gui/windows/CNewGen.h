#pragma once

#include <QDialog>

#include <string>

class QLineEdit;

// What "New route and generator" gathers: the route's name and the lines to reserve for the route
// and for its generator route.
struct NewGeneratorValues {
    std::string name;
    int routeReserve = 200;
    int generatorReserve = 20;
};

// "New route and generator": the name and the two reserves. The counts must be integers; their range
// and the name are the caller's to judge.
class CNewGen : public QDialog {
    Q_OBJECT
public:
    explicit CNewGen(const NewGeneratorValues& initial, QWidget* parent = nullptr);

    const NewGeneratorValues& values() const { return m_values; }

    void accept() override;

private:
    QLineEdit* m_name;
    QLineEdit* m_routeReserve;
    QLineEdit* m_generatorReserve;
    NewGeneratorValues m_values;
};
