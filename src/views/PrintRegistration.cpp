#include "PrintRegistration.h"

PrintRegistration::PrintRegistration()
    : m_flow([](QWidget* parent, const ReportPrinting::Renderer& render, int pageCount) {
          // A failed job of a form's own print is aborted without a message.
          return ReportPrinting::print(parent, render, pageCount, false);
      }) {}

ReportPrinting::Result PrintRegistration::print(QWidget* parent, int pageCount) {
    if (!m_source || !m_source->render)
        return ReportPrinting::Result::Cancelled;
    // The source may be replaced while its pages print; this run stays with the one it began
    // with.
    const PrintSource source = *m_source;
    const ReportPrinting::Result result = m_flow(parent, source.render, pageCount);
    if (result == ReportPrinting::Result::Printed && source.printed)
        source.printed();
    return result;
}

PrintRegistration::Scope::Scope(PrintRegistration& registration, const PrintSource* source)
    : m_registration(registration), m_source(source), m_previous(registration.source()) {
    m_registration.setSource(source);
}

PrintRegistration::Scope::~Scope() {
    release();
}

void PrintRegistration::Scope::release() {
    if (!m_active)
        return;
    m_active = false;
    // Only the registration this scope made is given back; a later one stays.
    if (m_registration.source() == m_source)
        m_registration.setSource(m_previous);
}
