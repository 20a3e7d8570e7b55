#include "brain/Registration.h"

#include <QCoreApplication>

#include <itkAffineTransform.h>
#include <itkCenteredTransformInitializer.h>
#include <itkCommand.h>
#include <itkConjugateGradientLineSearchOptimizerv4.h>
#include <itkImage.h>
#include <itkImageRegistrationMethodv4.h>
#include <itkMattesMutualInformationImageToImageMetricv4.h>
#include <itkRegistrationParameterScalesFromPhysicalShift.h>
#include <itkRegularStepGradientDescentOptimizerv4.h>

#include <algorithm>
#include <cmath>

namespace Registration {

namespace {

using Image = itk::Image<float, 3>;
using Transform = itk::AffineTransform<double, 3>;
using Optimizer = itk::RegularStepGradientDescentOptimizerv4<double>;
using Metric = itk::MattesMutualInformationImageToImageMetricv4<Image, Image>;
using Method = itk::ImageRegistrationMethodv4<Image, Image, Transform>;

// Thrown from the observer to leave ITK's run when the operator cancels.
struct Cancelled {};

// The program's volume as an ITK image: the same voxels, placed by the same affine (the program's
// patient space is LPS, as ITK's is). Each axis vector of the affine gives a spacing and a direction.
Image::Pointer toItk(const VolumeLayout::ScannerVolume &volume) {
    auto image = Image::New();
    Image::RegionType region;
    Image::SizeType size;
    for (unsigned a = 0; a < 3; ++a) {
        size[a] = static_cast<itk::SizeValueType>(volume.dims[a]);
    }
    region.SetSize(size);
    image->SetRegions(region);
    Image::SpacingType spacing;
    Image::PointType origin;
    Image::DirectionType direction;
    for (unsigned a = 0; a < 3; ++a) {
        spacing[a] = volume.affine.spacing(int(a));
        origin[a] = volume.affine.origin[a];
        const VolumeLayout::Vec3 d = volume.affine.direction(int(a));
        for (unsigned r = 0; r < 3; ++r) {
            direction[r][a] = d[r];
        }
    }
    image->SetSpacing(spacing);
    image->SetOrigin(origin);
    image->SetDirection(direction);
    image->Allocate();
    float *out = image->GetBufferPointer();
    for (std::size_t i = 0; i < volume.voxels.size(); ++i) {
        out[i] = float(volume.voxels[i]);
    }
    return image;
}

// Reports progress and stops the run when cancelled: at the start of each level and at each step
// of the optimiser.
class Observer : public itk::Command {
public:
    using Self = Observer;
    using Pointer = itk::SmartPointer<Self>;
    itkNewMacro(Self);

    std::function<void(int, const QString &)> progress;
    const std::atomic_bool *cancel = nullptr;
    const Optimizer *optimizer = nullptr;
    unsigned levels = 1;
    unsigned iterationsPerLevel = 1;
    int level = -1;

    void Execute(itk::Object *caller, const itk::EventObject &event) override {
        Execute(static_cast<const itk::Object *>(caller), event);
    }
    void Execute(const itk::Object *, const itk::EventObject &event) override {
        if (cancel && cancel->load()) {
            throw Cancelled{};
        }
        if (itk::MultiResolutionIterationEvent().CheckEvent(&event)) {
            ++level;
        }
        if (progress && optimizer && level >= 0) {
            const auto done = std::min<double>(double(optimizer->GetCurrentIteration()), iterationsPerLevel);
            const double share = (level + done / iterationsPerLevel) / levels;
            progress(std::clamp(int(100 * share), 0, 100),
                     QCoreApplication::translate("Normalise", "Registering (level %1 of %2)")
                         .arg(level + 1)
                         .arg(levels));
        }
    }
};

// The registration's schedule: three levels of the pyramid, each at most this many iterations.
constexpr unsigned Levels = 3;
constexpr unsigned Iterations = 200;

// Regular-step gradient descent with the scales estimated from physical shifts, keeping the best
// parameters it met.
Optimizer::Pointer newOptimizer(const Metric::Pointer &metric) {
    auto scales = itk::RegistrationParameterScalesFromPhysicalShift<Metric>::New();
    scales->SetMetric(metric);
    auto optimizer = Optimizer::New();
    optimizer->SetScalesEstimator(scales);
    optimizer->SetDoEstimateLearningRateOnce(false);
    optimizer->SetDoEstimateLearningRateAtEachIteration(false);
    optimizer->SetLearningRate(1.0);
    optimizer->SetMinimumStepLength(0.001);
    optimizer->SetRelaxationFactor(0.6);
    optimizer->SetNumberOfIterations(Iterations);
    optimizer->SetGradientMagnitudeTolerance(1e-5);
    optimizer->SetReturnBestParametersAndValue(true);
    return optimizer;
}

// The multi-resolution pyramid (shrink 6, 4, 2; smoothing 4, 2, 1 mm) and the metric sampled on a
// quarter of the voxels, with a fixed seed so that a run can be repeated.
void setPyramid(Method &method) {
    Method::ShrinkFactorsArrayType shrink(Levels);
    Method::SmoothingSigmasArrayType sigmas(Levels);
    const std::array<unsigned, Levels> shrinkFactors{6, 4, 2};
    const std::array<double, Levels> sigmaMm{4, 2, 1};
    for (unsigned l = 0; l < Levels; ++l) {
        shrink[l] = shrinkFactors[l];
        sigmas[l] = sigmaMm[l];
    }
    method.SetNumberOfLevels(Levels);
    method.SetShrinkFactorsPerLevel(shrink);
    method.SetSmoothingSigmasPerLevel(sigmas);
    method.SetSmoothingSigmasAreSpecifiedInPhysicalUnits(true);
    method.SetMetricSamplingStrategy(Method::MetricSamplingStrategyType::RANDOM);
    method.SetMetricSamplingPercentage(0.25);
    method.MetricSamplingReinitializeSeed(1234);
}

} // namespace

Outcome affine(const VolumeLayout::ScannerVolume &fixed, const VolumeLayout::ScannerVolume &moving,
               const std::function<void(int percent, const QString &stage)> &progress,
               const std::atomic_bool *cancel) {
    Outcome outcome;
    const Image::Pointer fixedImage = toItk(fixed);
    const Image::Pointer movingImage = toItk(moving);

    auto transform = Transform::New();
    using Initializer = itk::CenteredTransformInitializer<Transform, Image, Image>;
    auto initializer = Initializer::New();
    initializer->SetTransform(transform);
    initializer->SetFixedImage(fixedImage);
    initializer->SetMovingImage(movingImage);
    initializer->MomentsOn();
    initializer->InitializeTransform();

    auto metric = Metric::New();
    metric->SetNumberOfHistogramBins(32);
    metric->SetUseMovingImageGradientFilter(false);
    metric->SetUseFixedImageGradientFilter(false);

    const Optimizer::Pointer optimizer = newOptimizer(metric);

    auto method = Method::New();
    method->SetFixedImage(fixedImage);
    method->SetMovingImage(movingImage);
    method->SetMetric(metric);
    method->SetOptimizer(optimizer);
    method->SetInitialTransform(transform);
    method->InPlaceOn();
    setPyramid(*method);

    auto observer = Observer::New();
    observer->progress = progress;
    observer->cancel = cancel;
    observer->optimizer = optimizer;
    observer->levels = Levels;
    observer->iterationsPerLevel = Iterations;
    optimizer->AddObserver(itk::IterationEvent(), observer);
    method->AddObserver(itk::MultiResolutionIterationEvent(), observer);

    try {
        method->Update();
    } catch (const Cancelled &) {
        outcome.cancelled = true;
        return outcome;
    }

    const Transform::MatrixType m = transform->GetMatrix();
    const Transform::OutputVectorType offset = transform->GetOffset();
    for (unsigned r = 0; r < 3; ++r) {
        for (unsigned c = 0; c < 3; ++c) {
            outcome.fixedToMoving[r * 4 + c] = m[r][c];
        }
        outcome.fixedToMoving[r * 4 + 3] = offset[r];
    }
    outcome.fixedToMoving[15] = 1;
    outcome.metric = optimizer->GetValue();
    return outcome;
}

} // namespace Registration
