// The group page's texture frame: the texture-coordinate editor's Edit button and
// planar mapping with its "Mapping Plane Normal" options.
#include "Form1.h"

#include "platform/error_trap.h"
#include "textures/PlanarMapping.h"
#include "textures/frmTextureMapping.h"

#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

void Form1::buildEditTextureFrame() {
    auto* layout = new QVBoxLayout(frmEditTexture);
    cmdEditTexture = new QPushButton("&Edit", frmEditTexture);
    cmdEditTexture->setObjectName("cmdEditTexture");
    frmMappingPlane = new QGroupBox("Mapping Plane Normal", frmEditTexture);
    frmMappingPlane->setObjectName("frmMappingPlane");
    auto* options = new QVBoxLayout(frmMappingPlane);
    const char* captions[] = {"X", "Y", "Z", "Averaged Normals"};
    for (std::size_t i = 0; i < opnNormal.size(); ++i) {
        opnNormal[i] = new QRadioButton(captions[i], frmMappingPlane);
        opnNormal[i]->setObjectName(QString("opnNormal%1").arg(i));
        options->addWidget(opnNormal[i]);
    }
    opnNormal[0]->setChecked(true);
    cmdPlanarMap = new QPushButton("Planar Map", frmEditTexture);
    cmdPlanarMap->setObjectName("cmdPlanarMap");
    layout->addWidget(cmdEditTexture);
    layout->addWidget(frmMappingPlane);
    layout->addWidget(cmdPlanarMap);
    // The options are only read by the button.
    connect(cmdEditTexture, &QPushButton::clicked, this, platform::trapped(this, [this] { cmdEditTexture_Click(); }));
    connect(cmdPlanarMap, &QPushButton::clicked, this, platform::trapped(this, [this] { cmdPlanarMap_Click(); }));
}

void Form1::cmdEditTexture_Click() { frmTextureMapping::ShowEditor(this); }

void Form1::cmdPlanarMap_Click() {
    int32_t option = textures::NormalX;
    for (std::size_t i = 0; i < opnNormal.size(); ++i) {
        if (opnNormal[i]->isChecked()) {
            option = static_cast<int32_t>(i);
            break;
        }
    }
    textures::PlanarMapSelPols(option);
}
