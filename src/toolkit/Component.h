// Named components owned by their owner: the names are what language texts key on.
#pragma once
#include <memory>
#include <string>
#include <utility>
#include <vector>
#include "rtl/Classes.h"

class TComponent : public TObject {
public:
  explicit TComponent(TComponent* Owner = nullptr) : owner_(Owner) {}
  ~TComponent() override;
  TComponent(const TComponent&) = delete;
  TComponent& operator=(const TComponent&) = delete;

  const std::string& Name() const { return name_; }
  void SetName(const std::string& Name) { name_ = Name; }
  int Tag() const { return tag_; }
  void SetTag(int Tag) { tag_ = Tag; }
  TComponent* Owner() const { return owner_; }

  int ComponentCount() const { return static_cast<int>(components_.size()); }
  TComponent* Components(int Index) const { return components_[Index].get(); }
  // Finds an owned component by name, without regard to case; nullptr when none.
  TComponent* FindComponent(const std::string& Name) const;

  // Creates a component owned by this one; it lives until the owner is destroyed
  // or RemoveComponent is called.
  template <class T, class... Args>
  T* Make(const std::string& Name, Args&&... args) {
    auto c = std::make_unique<T>(this, std::forward<Args>(args)...);
    T* raw = c.get();
    raw->SetName(Name);
    components_.push_back(std::move(c));
    return raw;
  }
  // Destroys an owned component now.
  void RemoveComponent(TComponent* Component);

  // Asks to be told through Notification when Component is destroyed (and tells Component
  // the same of this one); a reference kept to another component is forgotten that way.
  void FreeNotification(TComponent* Component);
  void RemoveFreeNotification(TComponent* Component);

protected:
  // A component this one asked FreeNotification of is being destroyed.
  virtual void Notification(TComponent* AComponent) { (void)AComponent; }

private:
  TComponent* owner_;
  std::string name_;
  int tag_ = 0;
  std::vector<std::unique_ptr<TComponent>> components_;
  std::vector<TComponent*> freeNotifies_;
};
