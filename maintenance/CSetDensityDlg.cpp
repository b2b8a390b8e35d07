#include "maintenance/CSetDensityDlg.h"

#include "maintenance/MaintenanceJobs.h"

#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <algorithm>

namespace brimwell {

CSetDensityDlg::CSetDensityDlg(QWidget* pParent) : CFuncDlg(IDD_SET_DENSITY, pParent) {}

QSlider* CSetDensityDlg::Slider() const {
    return GetItem<QSlider>(IDC_DENSITY_SLIDER);
}

bool CSetDensityDlg::OnInitDialog() {
    if (QSlider* slider = Slider()) {
        slider->setRange(kDensityMin, kDensityMax);
        // The trackbar this control stands for pages by a fifth of its range; QSlider's own
        // default (10) would cross most of a 15-step scale at once.
        slider->setPageStep(std::max(1, (kDensityMax - kDensityMin) / 5));
        slider->setSingleStep(1);
        slider->setTracking(true);
        slider->setValue(kDensityDefault);
        // The label follows every step: valueChanged covers the keyboard, the wheel, clicks
        // on the groove and the drag (with tracking); sliderMoved covers the thumb while it
        // is dragged even if tracking were turned off.
        connect(slider, &QSlider::valueChanged, this, [this](int value) { OnHScroll(value); });
        connect(slider, &QSlider::sliderMoved, this, [this](int value) { OnHScroll(value); });
    }
    if (auto* label = GetItem<QLabel>(IDC_DENSITY_VALUE)) {
        label->setText(QString::number(kDensityDefault));
        // The template puts the label's centre 2.5 dialog units left of the slider's; centred
        // on the slider, the value stands right under the thumb's middle position.
        if (const QSlider* slider = Slider()) {
            QRect box = label->geometry();
            box.moveCenter(QPoint(slider->geometry().center().x(), box.center().y()));
            label->setGeometry(box);
        }
    }
    if (auto* send = GetItem<QPushButton>(IDC_SEND_DENSITY)) {
        connect(send, &QPushButton::clicked, this, [this] { OnSendDensity(); });
    }
    return true;
}

void CSetDensityDlg::OnHScroll(int nPos) {
    if (!Slider()) {
        return;
    }
    if (auto* label = GetItem<QLabel>(IDC_DENSITY_VALUE)) {
        label->setText(QString::number(nPos));
    }
}

int CSetDensityDlg::DensityValue() const {
    const QSlider* slider = Slider();
    return slider ? slider->value() : kDensityDefault;
}

void CSetDensityDlg::OnSendDensity() {
    SendJob(JOB_CONFIRM_PLAIN, [this] { return DensityJob(DensityValue()); });
}

void CSetDensityDlg::OnPrinterAvailability(bool bAvailable) {
    CFuncDlg::OnPrinterAvailability(bAvailable);
    if (auto* send = GetItem<QPushButton>(IDC_SEND_DENSITY)) {
        send->setEnabled(bAvailable);
    }
}

} // namespace brimwell
