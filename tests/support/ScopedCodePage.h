#pragma once
// Makes a code page the system code page for a scope, and puts back the one that stood before,
// so that scopes nest: an inner one leaves its fixture's code page in place.
#include "toolkit/CodePage.h"

#include <memory>
#include <string>

class ScopedCodePage {
 public:
  explicit ScopedCodePage(const std::string& name)
      : previous_(TCodePage::SetSystem(std::make_shared<TCodePage>(name))) {}
  ~ScopedCodePage() { TCodePage::SetSystem(std::move(previous_)); }
  ScopedCodePage(const ScopedCodePage&) = delete;
  ScopedCodePage& operator=(const ScopedCodePage&) = delete;

 private:
  std::shared_ptr<const TCodePage> previous_;
};
