#pragma once

#include "ReportPrinting.h"

#include <functional>

class QWidget;

// A form that prints its own pages (the set list, the GEMA form): how it renders them for the
// printer chosen, and what it does once they were printed.
struct PrintSource {
    ReportPrinting::Renderer render;
    std::function<void()> printed;
};

// Where the print command of a form's preview goes: to the print source registered last. The
// set-list planning form registers its set list while it is open; the GEMA form, opened from
// it, takes the registration over for as long as it is open and then gives it back, so that a
// print command never reaches a form that has been closed.
class PrintRegistration {
public:
    // Shows the print dialog and prints the chosen pages; replaced in tests.
    using Flow = std::function<ReportPrinting::Result(
        QWidget* parent, const ReportPrinting::Renderer& render, int pageCount)>;

    PrintRegistration();

    const PrintSource* source() const { return m_source; }
    void setSource(const PrintSource* source) { m_source = source; }
    void setFlow(Flow flow) { m_flow = std::move(flow); }

    // Prints the registered source's pages (print dialog, then the chosen pages) and tells the
    // source when they were printed. With nothing registered nothing happens.
    ReportPrinting::Result print(QWidget* parent, int pageCount);

    // Registers a source until release() or the end of the scope, then registers again what
    // was registered before.
    class Scope {
    public:
        Scope(PrintRegistration& registration, const PrintSource* source);
        ~Scope();
        Scope(const Scope&) = delete;
        Scope& operator=(const Scope&) = delete;
        void release();

    private:
        PrintRegistration& m_registration;
        const PrintSource* m_source;
        const PrintSource* m_previous;
        bool m_active = true;
    };

private:
    const PrintSource* m_source = nullptr;
    Flow m_flow;
};
