#pragma once

#include <QString>
#include <map>
#include <set>

namespace mirelune {

// The output names of one job, so that a result never replaces another
// source's result from the same job, and never lands on a file the job was
// asked to reduce. The same source listed twice still gets its own name
// back, and its second result replaces the first.
class OutputNames {
  public:
    // A file the job will read: no result may be written over it.
    void protectSource(const QString& source);

    // The path source's result goes to: wanted itself, or wanted with
    // " (2)", " (3)" ... before its extension when this job already gave
    // that name to another source, or a protected source lives there.
    QString claim(const QString& source, const QString& wanted);

  private:
    bool isProtected(const QString& path) const;

    std::set<QString> protected_;         // identities of the listed sources
    std::map<QString, QString> claimed_;  // place key -> key of the source it holds
};

}  // namespace mirelune
