#pragma once
// A control of the set that counts how often its face is painted.

namespace se::testing_support {

template <class Base>
class FaceCounter : public Base {
public:
    using Base::Base;
    int Faces = 0;

protected:
    void PaintFace() override {
        ++Faces;
        Base::PaintFace();
    }
};

}  // namespace se::testing_support
